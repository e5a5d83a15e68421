#pragma once

#include <string>

class CMenu;

// Shell messages for an icon.
inline constexpr unsigned NIM_ADD = 0;
inline constexpr unsigned NIM_MODIFY = 1; // a new tooltip for the icon shown
inline constexpr unsigned NIM_DELETE = 2;
// Fields of the icon record that an add fills in.
inline constexpr unsigned NIF_MESSAGE = 1;
inline constexpr unsigned NIF_ICON = 2;
inline constexpr unsigned NIF_TIP = 4;

// What the tray object hands to the shell for an add or a delete.
struct STrayIconData {
    unsigned uID = 0;
    unsigned uFlags = 0;
    unsigned uCallbackMessage = 0;
    unsigned nIconResource = 0; // id of the icon resource
    std::string strTip;         // at most 127 bytes
};

// What the shell reports to the tray object.
class IShellTrayHandler {
public:
    virtual ~IShellTrayHandler() = default;
    // A mouse action on the icon: the icon id and the mouse message (WM_RBUTTONUP, ...).
    virtual void OnTrayNotification(unsigned nIconID, unsigned nMouseMsg) = 0;
    // The notification area came back after it was gone.
    virtual void OnTaskbarCreated() = 0;
    // A system setting changed (SPI_SETWORKAREA for the work area).
    virtual void OnSettingChange(unsigned uFlags) = 0;
    // A command chosen from a menu that the shell shows by itself (hosts that draw the
    // icon's menu themselves from a copy handed to them before it opens).
    virtual void OnTrayCommand(unsigned nCmd) = 0;
};

// The desktop's notification area.
class IShellTray {
public:
    virtual ~IShellTray() = default;
    virtual void SetHandler(IShellTrayHandler* pHandler) = 0;
    // False where the desktop has no notification area of the kind the program uses at all.
    virtual bool IsShellSupported() = 0;
    // NIM_ADD, NIM_MODIFY or NIM_DELETE; true when the shell did it.
    virtual bool NotifyIcon(unsigned dwMessage, const STrayIconData& data) = 0;
    // Shows the pop-up at the mouse pointer and waits until it closes; the chosen command,
    // or 0 when none was chosen. A shell that draws the menu itself takes the pop-up as the
    // menu it is about to open, returns 0 and reports the choice through OnTrayCommand.
    virtual unsigned TrackPopupMenu(const CMenu& popup) = 0;
};
