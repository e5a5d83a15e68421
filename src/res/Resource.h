#pragma once

namespace tarnwick {

// Resource, command and control identifiers.

inline constexpr unsigned IDR_MAINFRAME = 128; // the program icon
inline constexpr unsigned IDR_TRAYMENU = 130;  // tray pop-up menu; also the tray icon's id

inline constexpr unsigned IDD_PARAMS = 130;
inline constexpr unsigned IDD_LPTRESETTER = 131;
inline constexpr unsigned IDD_WATCHDOGGING = 132;
inline constexpr unsigned IDD_GENERAL = 133;

inline constexpr unsigned ID_RECONNECT_CURRENT = 32771;
inline constexpr unsigned ID_DISCONNECT_CURRENT = 32772;
inline constexpr unsigned ID_SETTINGS = 32773;
inline constexpr unsigned ID_REBOOT = 32774;
inline constexpr unsigned ID_SHUTDOWN = 32775;
inline constexpr unsigned ID_CONNECT_NONE = 32776;
inline constexpr unsigned ID_RESET_MODEM_POWER = 32777;
inline constexpr unsigned ID_CONNECT_FIRST = 32778;
inline constexpr unsigned ID_CONNECT_LAST = 32878;

inline constexpr unsigned ID_APP_ABOUT = 57664;
inline constexpr unsigned ID_APP_EXIT = 57665;

// The Windows constants these mirror (IDOK, WM_LBUTTONDOWN, ...) are macros in <windows.h>,
// so the names here drop the prefix into a namespace: ID::Ok, WM::LButtonDown.
namespace ID {
inline constexpr unsigned Ok = 1;
inline constexpr unsigned Cancel = 2;
} // namespace ID

// Notification message of the tray icon.
namespace WM {
inline constexpr unsigned TrayNotify = 0x800A;
} // namespace WM

// Mouse messages a tray icon reports.
namespace WM {
inline constexpr unsigned LButtonDown = 0x0201;
inline constexpr unsigned LButtonUp = 0x0202;
inline constexpr unsigned LButtonDblClk = 0x0203;
inline constexpr unsigned RButtonDown = 0x0204;
inline constexpr unsigned RButtonUp = 0x0205;
inline constexpr unsigned MouseMove = 0x0200;
} // namespace WM

// The system setting whose change makes the tray put its icon back.
namespace SPI {
inline constexpr unsigned SetWorkArea = 47;
} // namespace SPI

} // namespace tarnwick
