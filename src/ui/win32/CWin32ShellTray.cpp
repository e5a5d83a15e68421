#include "platform/windows/Win32.h"

#include "tray/CMenu.h"
#include "ui/win32/CWin32MainWindow.h"
#include "ui/win32/CWin32ShellTray.h"

#include <cstdio>

namespace tarnwick {

namespace {
HMENU BuildMenu(const CMenu& menu) {
    HMENU hMenu = CreatePopupMenu();
    for (int nPos = 0; nPos < menu.GetMenuItemCount(); ++nPos) {
        const CMenu::Item& item = *menu.ItemAt(nPos);
        const UINT uGrayed = item.bEnabled ? 0 : MF_GRAYED;
        switch (item.eKind) {
        case CMenu::EKind::Separator:
            AppendMenuA(hMenu, MF_SEPARATOR, 0, nullptr);
            break;
        case CMenu::EKind::Popup:
            AppendMenuA(hMenu, MF_POPUP | uGrayed,
                        reinterpret_cast<UINT_PTR>(BuildMenu(item.popup.front())),
                        item.strText.c_str());
            break;
        case CMenu::EKind::Command:
            AppendMenuA(hMenu, MF_STRING | uGrayed, item.nID, item.strText.c_str());
            break;
        }
    }
    if (menu.GetDefaultItem() >= 0)
        SetMenuDefaultItem(hMenu, static_cast<UINT>(menu.GetDefaultItem()), TRUE);
    return hMenu;
}
} // namespace

CWin32ShellTray::CWin32ShellTray(CWin32MainWindow& window) : m_window(window) {}

void CWin32ShellTray::SetHandler(IShellTrayHandler* pHandler) {
    m_window.SetTrayHandler(pHandler);
}

bool CWin32ShellTray::NotifyIcon(unsigned dwMessage, const STrayIconData& data) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = m_window.GetHwnd();
    nid.uID = data.uID;
    nid.uFlags = data.uFlags;
    nid.uCallbackMessage = data.uCallbackMessage;
    if ((data.uFlags & NIF_ICON) != 0)
        nid.hIcon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(data.nIconResource), IMAGE_ICON,
                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    std::snprintf(nid.szTip, sizeof nid.szTip, "%s", data.strTip.c_str());
    const bool bOk = Shell_NotifyIconA(dwMessage, &nid) != FALSE;
    if (nid.hIcon != nullptr)
        DestroyIcon(nid.hIcon);
    return bOk;
}

unsigned CWin32ShellTray::TrackPopupMenu(const CMenu& popup) {
    HMENU hMenu = BuildMenu(popup);
    POINT pt{};
    GetCursorPos(&pt);
    // The owner must be in the foreground, or the menu does not close when the user clicks
    // elsewhere; the null message afterwards lets a second click open it again at once.
    HWND hWnd = m_window.GetHwnd();
    SetForegroundWindow(hWnd);
    const UINT nCmd = static_cast<UINT>(::TrackPopupMenu(
        hMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, pt.x, pt.y, 0, hWnd, nullptr));
    PostMessageA(hWnd, WM_NULL, 0, 0);
    DestroyMenu(hMenu);
    return nCmd;
}

} // namespace tarnwick
