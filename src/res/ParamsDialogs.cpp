#include "res/ParamsDialogs.h"

#include "res/DialogIds.h"
#include "res/Resource.h"

namespace tarnwick {

namespace {
using enum EDlgItemClass;

constexpr std::uint32_t kChild = WS::Child | WS::Visible;
constexpr std::uint32_t kPush = kChild | WS::TabStop | BS::PushButton;
constexpr std::uint32_t kDefPush = kChild | WS::TabStop | BS::DefPushButton;
constexpr std::uint32_t kCheck = kChild | WS::TabStop | BS::AutoCheckBox;
constexpr std::uint32_t kGroup = kChild | BS::GroupBox;
constexpr std::uint32_t kText = kChild | SS::Left;
constexpr std::uint32_t kEdit = kChild | WS::TabStop | WS::Border | ES::AutoHScroll;
constexpr std::uint32_t kList = kChild | WS::TabStop | WS::VScroll | CBS::DropDownList | CBS::Sort;
constexpr std::uint32_t kCombo = kChild | WS::TabStop | WS::VScroll | CBS::DropDown | CBS::Sort;
constexpr std::uint32_t kPage = WS::Child | DS::SetFont;

// Texts that name the operating system's own mechanisms.
#ifdef _WIN32
constexpr const char* kAutorunCheckText = "Enable autorun on Windows startup";
#else
constexpr const char* kAutorunCheckText = "Enable autorun on system startup";
#endif

constexpr const char* kFace = "MS Sans Serif";
constexpr int kPoints = 8;

// 130: the parameters dialog.
constexpr SDlgItemTemplate kParamsItems[] = {
    // 14 units taller than the pages' first layout, so that the reboot budget's line under
    // the WatchDogging page's last frame shows; the buttons move down with the bottom edge.
    {static_cast<int>(ID::Ok), Button, "OK", kDefPush, {201, 216, 50, 14}},
    {static_cast<int>(ID::Cancel), Button, "Cancel", kPush, {257, 216, 50, 14}},
    {IDC_PARAMS_TAB, TabControl, "Tab1", kChild, {7, 7, 300, 206}},
};

// 131: the "LPT Resetter" page.
constexpr SDlgItemTemplate kLptItems[] = {
    {IDC_LPT_ST_PORT, Static, "Resetter connected to:", kText, {6, 8, 79, 8}},
    {IDC_LPT_PORT, ComboBox, "", kList, {87, 6, 44, 52}},
    {IDC_LPT_LIB_STATUS, Static, "", kText, {136, 9, 151, 8}},
    {IDC_LPT_GRP_RESET, Button, "Modem power reset", kGroup, {5, 20, 285, 58}},
    {IDC_LPT_ST_DATA_MASK, Static, "Data registry mask:", kText, {22, 34, 79, 8}},
    {IDC_LPT_DATA_MASK, ComboBox, "", kList, {104, 31, 27, 161}},
    {IDC_LPT_ST_CTRL_MASK, Static, "Control registry mask:", kText, {137, 34, 76, 8}},
    {IDC_LPT_CTRL_MASK, ComboBox, "", kList, {217, 31, 27, 161}},
    {IDC_LPT_ST_OFF_TIME, Static, "Modem power OFF time:", kText, {22, 51, 79, 8}},
    {IDC_LPT_OFF_TIME, Edit, "", kEdit, {104, 48, 27, 12}},
    {IDC_LPT_ST_OFF_SEC, Static, "sec", kText, {134, 51, 12, 8}},
    {IDC_LPT_POWER_ON, Button, "Make sure modem power is ON on startup", kCheck, {11, 64, 275, 8}},
    {IDC_LPT_GRP_BEFORE_OFF, Button, "Before power OFF", kGroup, {5, 79, 285, 27}},
    {IDC_LPT_HANG_UP,
     Button,
     "Attempt to hang-up, if connection is established",
     kCheck,
     {11, 91, 275, 8}},
    {IDC_LPT_GRP_AFTER_ON, Button, "After modem power ON", kGroup, {5, 107, 285, 44}},
    {IDC_LPT_REESTABLISH,
     Button,
     "Attempt to re-establish the recent connection ",
     kCheck,
     {11, 120, 275, 8}},
    {IDC_LPT_ST_WAIT, Static, "Wait for:", kText, {11, 136, 27, 8}},
    {IDC_LPT_WAIT_TIME, Edit, "", kEdit, {42, 133, 27, 12}},
    {IDC_LPT_ST_WAIT_SEC,
     Static,
     "sec while modem is rebooting and self-testing",
     kText,
     {72, 136, 214, 8}},
};

// 132: the "WatchDogging" page.
constexpr SDlgItemTemplate kWatchDoggingItems[] = {
    {IDC_WD_ENABLE, Button, "Enable WatchDogging", kCheck, {11, 7, 275, 8}},
    {IDC_WD_GRP_CONNECTION, Button, "Connection", kGroup, {5, 20, 285, 29}},
    {IDC_WD_ST_CONNECTION, Static, "Default connection:", kText, {11, 33, 65, 8}},
    {IDC_WD_CONNECTION, ComboBox, "", kCombo, {77, 30, 84, 65}},
    {IDC_WD_GRP_STARTUP, Button, "Behavior on startup", kGroup, {5, 50, 285, 39}},
    {IDC_WD_ESTABLISH,
     Button,
     "Attempt to establish the recent connection",
     kCheck,
     {11, 63, 275, 8}},
    {IDC_WD_ST_STARTUP_NOTE,
     Static,
     "* Applies 20 sec delay between startup and attempting to establish the connection.",
     kText,
     {11, 75, 273, 8}},
    {IDC_WD_GRP_BACKGROUND, Button, "Background behaviors", kGroup, {5, 89, 285, 82}},
    {IDC_WD_CHECK_CONN, Button, "Check connection state", kCheck, {11, 102, 96, 8}},
    {IDC_WD_ST_PERIOD, Static, "Perform selected checks every", kText, {113, 102, 98, 8}},
    {IDC_WD_CHECK_DELAY, Edit, "", kEdit, {218, 99, 25, 12}},
    {IDC_WD_ST_MIN, Static, "min.", kText, {245, 102, 14, 8}},
    {IDC_WD_CHECK_FILE, Button, "Check file time change", kCheck, {11, 116, 96, 8}},
    {IDC_WD_ST_FILE, Static, "File name:", kText, {113, 116, 33, 8}},
    {IDC_WD_FILE, Edit, "", kEdit, {149, 113, 121, 12}},
    {IDC_WD_BROWSE, Button, "...", kPush, {273, 113, 13, 12}},
    {IDC_WD_CHECK_URL, Button, "Check URL/IP connect", kCheck, {11, 130, 96, 8}},
    {IDC_WD_ST_URL, Static, "URL or IP:", kText, {113, 130, 34, 8}},
    {IDC_WD_URL, Edit, "", kEdit, {149, 128, 121, 12}},
    {IDC_WD_ST_REDIAL_NOTE,
     Static,
     "Each time one of selected checks fails, try to re-establish the recent connection.",
     kText,
     {11, 142, 273, 8}},
    {IDC_WD_ST_AFTER, Static, "After", kText, {11, 156, 16, 8}},
    {IDC_WD_MAX_FAULTS, Edit, "", kEdit, {30, 153, 17, 12}},
    {IDC_WD_ST_FAULTS,
     Static,
     "faults, try to reset modem power. If fails again, reboot the System.",
     kText,
     {49, 156, 236, 8}},
    {IDC_WD_ST_MAX_REBOOTS, Static, "Reboot at most", kText, {11, 180, 50, 8}},
    {IDC_WD_MAX_REBOOTS, Edit, "", kEdit, {62, 177, 17, 12}},
    {IDC_WD_ST_REBOOTS,
     Static,
     "times in 24 hours (0 = no limit), then reset modem power instead.",
     kText,
     {82, 180, 203, 8}},
};

// 133: the "General" page.
constexpr SDlgItemTemplate kGeneralItems[] = {
    {IDC_GEN_GRP_AUTORUN, Button, "Autorun", kGroup, {5, 3, 285, 44}},
    {IDC_GEN_AUTORUN, Button, kAutorunCheckText, kCheck, {11, 16, 139, 8}},
    {IDC_GEN_ST_METHOD, Static, "Autorun method:", kText, {11, 30, 53, 8}},
    {IDC_GEN_METHOD, ComboBox, "", kList, {67, 28, 215, 141}},
    {IDC_GEN_GRP_SHUTDOWN, Button, "Automatic system shutdown", kGroup, {5, 48, 285, 62}},
    {IDC_GEN_AUTO_SHUTDOWN, Button, "Enable automatic shutdown", kCheck, {11, 61, 275, 8}},
    {IDC_GEN_ST_TIME, Static, "Shutdown time:", kText, {11, 75, 50, 8}},
    {IDC_GEN_TIME, ComboBox, "", kList, {67, 72, 37, 141}},
    {IDC_GEN_ST_BIOS_NOTE,
     Static,
     "* Using this option, please make sure you have setup automatic wakeup in BIOS. Refer to "
     "the motherboard manual instructions if needed.",
     kText,
     {11, 89, 273, 16}},
};

constexpr SDlgInitData kGeneralInit[] = {
    {IDC_GEN_METHOD, g_AutorunMethodNames},
};

constexpr SDlgTemplate kTemplates[] = {
    {IDD_PARAMS,
     WS::Popup | WS::Caption | DS::ModalFrame | DS::SetFont | DS::SysModal,
     314,
     237,
     "Tarnwick Parameters",
     kPoints,
     kFace,
     kParamsItems,
     {}},
    {IDD_LPTRESETTER, kPage, 318, 196, "", kPoints, kFace, kLptItems, {}},
    {IDD_WATCHDOGGING, kPage, 319, 197, "", kPoints, kFace, kWatchDoggingItems, {}},
    {IDD_GENERAL, kPage, 319, 197, "", kPoints, kFace, kGeneralItems, kGeneralInit},
};
} // namespace

#ifdef _WIN32
constinit const std::array<const char*, 2> g_AutorunMethodNames{
    "Registry (conventional, default) - Recommended!", "WIN.INI (old-school, brutal)"};
constinit const char* const g_pszPortLibMissing = "ERROR!!! Library inpout32.dll not found.";
#else
constinit const std::array<const char*, 2> g_AutorunMethodNames{
    "Desktop autostart (conventional, default) - Recommended!",
    "systemd user unit (no desktop; boot only with lingering)"};
constinit const char* const g_pszPortLibMissing = "ERROR!!! Library libinpout32.so not found.";
#endif

constinit const std::array<const char*, 3> g_ParamsTabCaptions{"General", "WatchDogging",
                                                               "LPT Resetter"};

const SDlgTemplate* FindDialogTemplate(unsigned nID) {
    for (const SDlgTemplate& dlg : kTemplates)
        if (dlg.nID == nID)
            return &dlg;
    return nullptr;
}

} // namespace tarnwick
