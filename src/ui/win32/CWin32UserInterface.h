#pragma once

#include "engine/IUserInterface.h"

namespace tarnwick {

class CWin32MainWindow;

// Message boxes, the about box and the parameters dialog as Win32 dialogs owned by the
// hidden main window, and the main window's queue for posted work.
class CWin32UserInterface : public IUserInterface {
public:
    explicit CWin32UserInterface(CWin32MainWindow& window) : m_window(window) {}

    bool AskYesNo(const std::string& strText) override;
    void DoModalAbout() override;
    void DoModalSettings(IParamsHost& host) override;
    void Post(std::function<void()> fn) override;
    void RaiseSettings() override;
    // Kept until the event loop has ended (ShowToldText): a message box shown now would run
    // its own loop and close again with the main window when a quit follows.
    void TellUser(const std::string& strText) override { m_strTold = strText; }
    void PostQuit() override;
    // A balloon at the tray icon; none while the icon is missing.
    void Notify(const std::string& strSummary, const std::string& strBody) override;

    // Shows what TellUser was given, if anything; for after the event loop.
    void ShowToldText();

private:
    CWin32MainWindow& m_window;
    std::string m_strTold;
};

} // namespace tarnwick
