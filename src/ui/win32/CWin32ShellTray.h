#pragma once

#include "platform/windows/Win32.h"

#include "tray/IShellTray.h"

namespace tarnwick {

class CWin32MainWindow;

// The notification area through Shell_NotifyIcon. The icon's notifications, "TaskbarCreated"
// and setting changes reach the tray object through the hidden main window; the pop-up menu
// is built from the menu data and tracked with TrackPopupMenu, the default item in bold.
class CWin32ShellTray : public IShellTray {
public:
    explicit CWin32ShellTray(CWin32MainWindow& window);

    void SetHandler(IShellTrayHandler* pHandler) override;
    bool IsShellSupported() override { return true; }
    bool NotifyIcon(unsigned dwMessage, const STrayIconData& data) override;
    unsigned TrackPopupMenu(const CMenu& popup) override;

private:
    CWin32MainWindow& m_window;
};

} // namespace tarnwick
