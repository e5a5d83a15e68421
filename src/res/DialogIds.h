#pragma once

namespace tarnwick {

// Control ids of the parameters dialog (130) and its three pages. The pages are separate
// windows, so the same number can name different controls on different pages.

// Dialog 130: the parameters dialog (ID::Ok and ID::Cancel are its buttons).
inline constexpr int IDC_PARAMS_TAB = 1000;

// Dialog 133: the "General" page.
inline constexpr int IDC_GEN_GRP_AUTORUN = 1014;
inline constexpr int IDC_GEN_AUTORUN = 1024;
inline constexpr int IDC_GEN_ST_METHOD = 1005;
inline constexpr int IDC_GEN_METHOD = 1027;
inline constexpr int IDC_GEN_GRP_SHUTDOWN = 1020;
inline constexpr int IDC_GEN_AUTO_SHUTDOWN = 1025;
inline constexpr int IDC_GEN_ST_TIME = 1003;
inline constexpr int IDC_GEN_TIME = 1026;
inline constexpr int IDC_GEN_ST_BIOS_NOTE = 1004;

// Dialog 132: the "WatchDogging" page.
inline constexpr int IDC_WD_ENABLE = 1019;
inline constexpr int IDC_WD_GRP_CONNECTION = 1020;
inline constexpr int IDC_WD_ST_CONNECTION = 1003;
inline constexpr int IDC_WD_CONNECTION = 1021;
inline constexpr int IDC_WD_GRP_STARTUP = 1008;
inline constexpr int IDC_WD_ESTABLISH = 1023;
inline constexpr int IDC_WD_ST_STARTUP_NOTE = 1004;
inline constexpr int IDC_WD_GRP_BACKGROUND = 1009;
inline constexpr int IDC_WD_CHECK_CONN = 1024;
inline constexpr int IDC_WD_ST_PERIOD = 1011;
inline constexpr int IDC_WD_CHECK_DELAY = 1030;
inline constexpr int IDC_WD_ST_MIN = 1013;
inline constexpr int IDC_WD_CHECK_FILE = 1025;
inline constexpr int IDC_WD_ST_FILE = 1010;
inline constexpr int IDC_WD_FILE = 1027;
inline constexpr int IDC_WD_BROWSE = 1029;
inline constexpr int IDC_WD_CHECK_URL = 1026;
inline constexpr int IDC_WD_ST_URL = 1012;
inline constexpr int IDC_WD_URL = 1028;
inline constexpr int IDC_WD_ST_REDIAL_NOTE = 1005;
inline constexpr int IDC_WD_ST_AFTER = 1014;
inline constexpr int IDC_WD_MAX_FAULTS = 1031;
inline constexpr int IDC_WD_ST_FAULTS = 1015;
// The reboot budget, below the fault limit.
inline constexpr int IDC_WD_ST_MAX_REBOOTS = 1032;
inline constexpr int IDC_WD_MAX_REBOOTS = 1033;
inline constexpr int IDC_WD_ST_REBOOTS = 1034;

// Dialog 131: the "LPT Resetter" page.
inline constexpr int IDC_LPT_ST_PORT = 1018;
inline constexpr int IDC_LPT_PORT = 1001;
inline constexpr int IDC_LPT_LIB_STATUS = 1017;
inline constexpr int IDC_LPT_GRP_RESET = 1009;
inline constexpr int IDC_LPT_ST_DATA_MASK = 1003;
inline constexpr int IDC_LPT_DATA_MASK = 1002;
inline constexpr int IDC_LPT_ST_CTRL_MASK = 1004;
inline constexpr int IDC_LPT_CTRL_MASK = 1005;
inline constexpr int IDC_LPT_ST_OFF_TIME = 1006;
inline constexpr int IDC_LPT_OFF_TIME = 1007;
inline constexpr int IDC_LPT_ST_OFF_SEC = 1008;
inline constexpr int IDC_LPT_POWER_ON = 1019;
inline constexpr int IDC_LPT_GRP_BEFORE_OFF = 1010;
inline constexpr int IDC_LPT_HANG_UP = 1011;
inline constexpr int IDC_LPT_GRP_AFTER_ON = 1012;
inline constexpr int IDC_LPT_REESTABLISH = 1013;
inline constexpr int IDC_LPT_ST_WAIT = 1014;
inline constexpr int IDC_LPT_WAIT_TIME = 1015;
inline constexpr int IDC_LPT_ST_WAIT_SEC = 1016;

} // namespace tarnwick
