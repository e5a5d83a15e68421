#pragma once

#include "engine/IUserInterface.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace tarnwick {

// Modal windows answered by script; posted work queued until RunPosted().
class CFakeUserInterface : public IUserInterface {
public:
    bool AskYesNo(const std::string& strText) override {
        m_questions.push_back(strText);
        return m_bAnswerYes;
    }
    void DoModalAbout() override {
        ++m_nAboutShown;
        if (m_fnWhileModal)
            m_fnWhileModal();
    }
    void DoModalSettings(IParamsHost&) override {
        ++m_nSettingsShown;
        if (m_fnWhileModal)
            m_fnWhileModal();
    }
    void RaiseSettings() override { ++m_nSettingsRaised; }
    void TellUser(const std::string& strText) override { m_told.push_back(strText); }
    void Post(std::function<void()> fn) override { m_posted.push_back(std::move(fn)); }
    void PostQuit() override { m_bQuitPosted = true; }
    bool IsQuitRequested() const override { return m_bQuitRequested; }
    void Notify(const std::string& strSummary, const std::string& strBody) override {
        m_notes.push_back(strSummary + ": " + strBody);
    }
    std::vector<std::string> m_notes;

    // Runs what was posted, including what that posts in turn.
    void RunPosted() {
        while (!m_posted.empty()) {
            std::function<void()> fn = std::move(m_posted.front());
            m_posted.pop_front();
            fn();
        }
    }

    bool m_bAnswerYes = true;
    std::vector<std::string> m_questions;
    int m_nAboutShown = 0;
    int m_nSettingsShown = 0;
    int m_nSettingsRaised = 0;
    std::vector<std::string> m_told;
    // Runs inside a modal window, as the nested loop of a real one would run other work.
    std::function<void()> m_fnWhileModal;
    std::deque<std::function<void()>> m_posted;
    bool m_bQuitPosted = false;
    bool m_bQuitRequested = false;
};

} // namespace tarnwick
