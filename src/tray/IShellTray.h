#pragma once

#include <string>

namespace tarnwick {

class CMenu;

// Shell messages for an icon.
namespace NIM {
inline constexpr unsigned Add = 0;
inline constexpr unsigned Modify = 1; // a new tooltip for the icon shown
inline constexpr unsigned Delete = 2;
// Fields of the icon record that an add fills in.
} // namespace NIM
namespace NIF {
inline constexpr unsigned Message = 1;
inline constexpr unsigned Icon = 2;
inline constexpr unsigned Tip = 4;
} // namespace NIF

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
    // A mouse action on the icon: the icon id and the mouse message (WM::RButtonUp, ...).
    virtual void OnTrayNotification(unsigned nIconID, unsigned nMouseMsg) = 0;
    // The notification area came back after it was gone.
    virtual void OnTaskbarCreated() = 0;
    // A system setting changed (SPI::SetWorkArea for the work area).
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
    // False where no notification area can ever appear (a frontend without a display): an
    // icon that was refused is then not tried again.
    virtual bool CanTrayAppear() { return true; }
    // NIM::Add, NIM::Modify or NIM::Delete; true when the shell did it.
    virtual bool NotifyIcon(unsigned dwMessage, const STrayIconData& data) = 0;
    // Shows the pop-up at the mouse pointer and waits until it closes; the chosen command,
    // or 0 when none was chosen. A shell that draws the menu itself takes the pop-up as the
    // menu it is about to open, returns 0 and reports the choice through OnTrayCommand.
    virtual unsigned TrackPopupMenu(const CMenu& popup) = 0;
};

} // namespace tarnwick
