#pragma once

#include "engine/IUserInterface.h"

#include <QPointer>

#include <functional>

class QWidget;

namespace tarnwick {

// Message boxes, the about box, the parameters dialog, notices and the event loop, in Qt.
// Every window carries the program icon.
class CQtUserInterface : public IUserInterface {
public:
    bool AskYesNo(const std::string& strText) override;
    void DoModalAbout() override;
    void DoModalSettings(IParamsHost& host) override;
    void RaiseSettings() override;
    void TellUser(const std::string& strText) override;
    void Post(std::function<void()> fn) override;
    void PostQuit() override;
    // org.freedesktop.Notifications on the session bus, sent without waiting for an answer;
    // nothing without a session bus (and no bus is started for it).
    void Notify(const std::string& strSummary, const std::string& strBody) override;
    bool IsQuitRequested() const override { return m_fnQuitRequested && m_fnQuitRequested(); }

    // Where the quit request is seen (the signal watcher).
    void SetQuitRequested(std::function<bool()> fn) { m_fnQuitRequested = std::move(fn); }

    // Un-minimises, raises and activates a window.
    static void BringToFront(QWidget& window);

private:
    std::function<bool()> m_fnQuitRequested;
    QPointer<QWidget> m_pSettings;
};

} // namespace tarnwick
