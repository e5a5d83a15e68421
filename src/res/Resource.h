#pragma once

// Resource, command and control identifiers.

inline constexpr unsigned IDR_MAINFRAME = 128; // the program icon
inline constexpr unsigned IDR_TRAYMENU = 130;  // tray pop-up menu; also the tray icon's id

inline constexpr unsigned IDD_ABOUTBOX = 100;
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

inline constexpr unsigned ID_FILE_NEW = 57600;
inline constexpr unsigned ID_APP_ABOUT = 57664;
inline constexpr unsigned ID_APP_EXIT = 57665;

inline constexpr unsigned IDOK = 1;
inline constexpr unsigned IDCANCEL = 2;

// Notification message of the tray icon.
inline constexpr unsigned WM_TRAY_NOTIFY = 0x800A;

// Mouse messages a tray icon reports.
inline constexpr unsigned WM_LBUTTONDOWN = 0x0201;
inline constexpr unsigned WM_LBUTTONUP = 0x0202;
inline constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
inline constexpr unsigned WM_RBUTTONDOWN = 0x0204;
inline constexpr unsigned WM_RBUTTONUP = 0x0205;
inline constexpr unsigned WM_MOUSEMOVE = 0x0200;

// The system setting whose change makes the tray put its icon back.
inline constexpr unsigned SPI_SETWORKAREA = 47;
