// The tray icon's rules over a fake shell: its states, mouse actions, menu and tooltip.
#include "CFakeShellTray.h"

#include "engine/ICommandTarget.h"
#include "res/Resource.h"
#include "tray/CMenu.h"
#include "tray/CSystemTray.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr unsigned kIconID = IDR_TRAYMENU;
constexpr unsigned SPI_SETDESKWALLPAPER = 20;

class CFakeCommandTarget : public ICommandTarget {
public:
    bool OnCommand(unsigned nID) override {
        m_run.push_back(nID);
        return true;
    }
    void PostCommand(unsigned nID) override { m_posted.push_back(nID); }
    std::vector<unsigned> m_run;
    std::vector<unsigned> m_posted;
};

class SystemTray : public ::testing::Test {
protected:
    SystemTray() { tray.emplace(shell, target); }

    bool Create(const std::string& strTip = "Tarnwick\nVersion 1.001") {
        return tray->Create(WM_TRAY_NOTIFY, strTip, IDR_MAINFRAME, kIconID, [this](CMenu& popup) {
            ++nHookCalls;
            // Marks the copy it is given, so that a later showing can tell whether it got
            // a fresh one.
            popup.ModifyMenu(0, ID_SETTINGS, "Marked by the hook");
        });
    }

    CFakeShellTray shell;
    CFakeCommandTarget target;
    std::optional<CSystemTray> tray;
    int nHookCalls = 0;
};

// What reaches the tray, one step of a scenario.
enum class EStep { Create, Refuse, Accept, TaskbarCreated, WorkArea, OtherSetting };

struct SStateCase {
    const char* pszName;
    bool bSupported;
    std::vector<EStep> steps;
    bool bAbsent, bRemoved, bPending;
    // The shell calls before destruction, and those destruction adds.
    std::vector<std::string> calls;
    std::vector<std::string> callsAtDestruction;
};

void PrintTo(const SStateCase& c, std::ostream* pOut) {
    *pOut << c.pszName;
}

class SystemTrayStates : public SystemTray, public ::testing::WithParamInterface<SStateCase> {};

TEST_P(SystemTrayStates, FlagsAndShellCallsFollowTheStateTable) {
    const SStateCase& c = GetParam();
    shell.m_bSupported = c.bSupported;
    for (EStep step : c.steps) {
        switch (step) {
        case EStep::Create:
            EXPECT_EQ(Create(), shell.m_bSupported && shell.m_bAccepts);
            break;
        case EStep::Refuse:
            shell.m_bAccepts = false;
            break;
        case EStep::Accept:
            shell.m_bAccepts = true;
            break;
        case EStep::TaskbarCreated:
            if (shell.m_pHandler != nullptr)
                shell.m_pHandler->OnTaskbarCreated();
            break;
        case EStep::WorkArea:
            if (shell.m_pHandler != nullptr)
                shell.m_pHandler->OnSettingChange(SPI_SETWORKAREA);
            break;
        case EStep::OtherSetting:
            if (shell.m_pHandler != nullptr)
                shell.m_pHandler->OnSettingChange(SPI_SETDESKWALLPAPER);
            break;
        }
    }
    EXPECT_EQ(tray->IsIconAbsent(), c.bAbsent);
    EXPECT_EQ(tray->IsIconRemoved(), c.bRemoved);
    EXPECT_EQ(tray->IsRestorePending(), c.bPending);
    EXPECT_EQ(shell.m_calls, c.calls);

    std::vector<std::string> expected = c.calls;
    expected.insert(expected.end(), c.callsAtDestruction.begin(), c.callsAtDestruction.end());
    tray.reset();
    EXPECT_EQ(shell.m_calls, expected);
    EXPECT_EQ(shell.m_pHandler, nullptr);
}

using E = EStep;
const std::vector<std::string> kNone;
const std::vector<std::string> kDelete{"delete"};

INSTANTIATE_TEST_SUITE_P(
    Tray, SystemTrayStates,
    ::testing::Values(
        // Unregistered.
        SStateCase{"NeverCreated", true, {}, true, true, false, {}, kNone},
        SStateCase{"ShellUnsupported", false, {E::Create}, true, true, false, {}, kNone},
        SStateCase{"UnsupportedIgnoresHostRestart",
                   false,
                   {E::Create, E::TaskbarCreated, E::WorkArea},
                   true,
                   true,
                   false,
                   {},
                   kNone},
        // Shown.
        SStateCase{"Shown", true, {E::Create}, false, false, false, {"add"}, kDelete},
        SStateCase{"ShownHostRestarts",
                   true,
                   {E::Create, E::TaskbarCreated},
                   false,
                   false,
                   false,
                   {"add", "add"},
                   kDelete},
        SStateCase{"ShownWorkAreaChanges",
                   true,
                   {E::Create, E::WorkArea},
                   false,
                   false,
                   false,
                   {"add", "add"},
                   kDelete},
        SStateCase{"ShownOtherSettingChanges",
                   true,
                   {E::Create, E::OtherSetting},
                   false,
                   false,
                   false,
                   {"add"},
                   kDelete},
        // Refused: nothing but the next Create adds the icon.
        SStateCase{"Refused", true, {E::Refuse, E::Create}, true, true, true, {"add"}, kNone},
        SStateCase{"RefusedHostRestarts",
                   true,
                   {E::Refuse, E::Create, E::Accept, E::TaskbarCreated, E::WorkArea},
                   true,
                   true,
                   false,
                   {"add"},
                   kNone},
        SStateCase{"RefusedThenRetried",
                   true,
                   {E::Refuse, E::Create, E::Accept, E::Create},
                   false,
                   false,
                   false,
                   {"add", "add"},
                   kDelete},
        // Unconfirmed: a failed re-add; no later event adds the icon, destruction deletes it.
        SStateCase{"UnconfirmedAfterHostRestart",
                   true,
                   {E::Create, E::Refuse, E::TaskbarCreated},
                   true,
                   false,
                   true,
                   {"add", "add"},
                   kDelete},
        SStateCase{"UnconfirmedAfterWorkArea",
                   true,
                   {E::Create, E::Refuse, E::WorkArea},
                   true,
                   false,
                   true,
                   {"add", "add"},
                   kDelete},
        SStateCase{"UnconfirmedHostRestartsAgain",
                   true,
                   {E::Create, E::Refuse, E::TaskbarCreated, E::Accept, E::TaskbarCreated},
                   true,
                   false,
                   true,
                   {"add", "add"},
                   kDelete},
        SStateCase{"UnconfirmedWorkAreaClearsPending",
                   true,
                   {E::Create, E::Refuse, E::WorkArea, E::Accept, E::WorkArea},
                   true,
                   false,
                   false,
                   {"add", "add"},
                   kDelete}),
    [](const ::testing::TestParamInfo<SStateCase>& param) { return param.param.pszName; });

TEST_F(SystemTray, RightButtonUpShowsAFreshMenuWithItsDefaultAndRunsTheHookFirst) {
    ASSERT_TRUE(Create());
    ASSERT_TRUE(tray->SetDefaultMenuItem(0, true));
    shell.m_nChoice = ID_APP_ABOUT;
    for (int nShowing = 1; nShowing <= 2; ++nShowing) {
        EXPECT_EQ(tray->HandleTrayMessage(kIconID, WM_RBUTTONUP), 1u);
        ASSERT_EQ(shell.m_shownMenus.size(), static_cast<std::size_t>(nShowing));
        const CMenu& shown = shell.m_shownMenus.back();
        EXPECT_EQ(nHookCalls, nShowing);
        EXPECT_EQ(shown.GetMenuString(0), "Marked by the hook");
        EXPECT_EQ(shown.GetDefaultItem(), 0);
        EXPECT_EQ(shown.GetMenuItemCount(), 9);
    }
    // The chosen item goes to the main window as a command; the tray runs nothing itself.
    EXPECT_EQ(target.m_posted, (std::vector<unsigned>{ID_APP_ABOUT, ID_APP_ABOUT}));
    EXPECT_TRUE(target.m_run.empty());
}

TEST_F(SystemTray, AMenuClosedWithoutChoicePostsNothing) {
    ASSERT_TRUE(Create());
    shell.m_nChoice = 0;
    shell.Click(WM_RBUTTONUP);
    EXPECT_EQ(shell.m_shownMenus.size(), 1u);
    EXPECT_TRUE(target.m_posted.empty());
}

TEST_F(SystemTray, DoubleClickPostsTheDefaultItemsCommandWithoutTheHook) {
    ASSERT_TRUE(Create());
    ASSERT_TRUE(tray->SetDefaultMenuItem(0, true));
    EXPECT_EQ(tray->HandleTrayMessage(kIconID, WM_LBUTTONDBLCLK), 1u);
    // Position 0 by position is the command of the first item, not the number 0.
    EXPECT_EQ(target.m_posted, std::vector<unsigned>{ID_SETTINGS});
    EXPECT_EQ(nHookCalls, 0);
    EXPECT_TRUE(shell.m_shownMenus.empty());
}

TEST_F(SystemTray, ADefaultItemByCommandIdIsUsedByMenuAndDoubleClick) {
    ASSERT_TRUE(Create());
    ASSERT_TRUE(tray->SetDefaultMenuItem(ID_APP_ABOUT, false));
    shell.Click(WM_LBUTTONDBLCLK);
    shell.Click(WM_RBUTTONUP);
    EXPECT_EQ(target.m_posted.front(), ID_APP_ABOUT);
    ASSERT_EQ(shell.m_shownMenus.size(), 1u);
    EXPECT_EQ(shell.m_shownMenus[0].GetDefaultItem(), 6);
}

TEST_F(SystemTray, ClicksPressesMovesAndOtherIconsDoNothing) {
    ASSERT_TRUE(Create());
    struct SCase {
        unsigned nIconID, nMouseMsg, nResult;
    };
    const SCase cases[] = {
        {kIconID, WM_LBUTTONDOWN, 1},   {kIconID, WM_LBUTTONUP, 1},
        {kIconID, WM_RBUTTONDOWN, 1},   {kIconID, WM_MOUSEMOVE, 1},
        {kIconID + 1, WM_RBUTTONUP, 0}, {0, WM_LBUTTONDBLCLK, 0},
        {kIconID + 1, WM_MOUSEMOVE, 0},
    };
    for (const SCase& c : cases) {
        EXPECT_EQ(tray->HandleTrayMessage(c.nIconID, c.nMouseMsg), c.nResult)
            << c.nIconID << " " << c.nMouseMsg;
    }
    EXPECT_TRUE(shell.m_shownMenus.empty());
    EXPECT_TRUE(target.m_posted.empty());
    EXPECT_EQ(nHookCalls, 0);
}

TEST_F(SystemTray, OnlyTheLowWordOfTheMouseMessageCounts) {
    ASSERT_TRUE(Create());
    EXPECT_EQ(tray->HandleTrayMessage(kIconID, 0x00010000u | WM_LBUTTONDBLCLK), 1u);
    EXPECT_EQ(target.m_posted, std::vector<unsigned>{ID_SETTINGS});
}

TEST_F(SystemTray, ACommandFromAMenuTheHostDrewIsPosted) {
    ASSERT_TRUE(Create());
    shell.m_pHandler->OnTrayCommand(ID_APP_EXIT);
    shell.m_pHandler->OnTrayCommand(0);
    EXPECT_EQ(target.m_posted, std::vector<unsigned>{ID_APP_EXIT});
}

TEST_F(SystemTray, CreateHandsTheShellTheRecordAndTheCutTooltip) {
    ASSERT_TRUE(Create(std::string(200, 'x')));
    EXPECT_EQ(shell.m_lastData.uID, kIconID);
    EXPECT_EQ(shell.m_lastData.uCallbackMessage, WM_TRAY_NOTIFY);
    EXPECT_EQ(shell.m_lastData.uFlags, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    EXPECT_EQ(shell.m_lastData.nIconResource, IDR_MAINFRAME);
    EXPECT_EQ(shell.m_lastData.strTip, std::string(127, 'x'));
}

TEST(CutTrayTip, KeepsAtMost127BytesAndNeverSplitsACharacter) {
    const std::string a126(126, 'a');
    const std::string a125(125, 'a');
    struct SCase {
        const char* pszName;
        std::string strIn, strOut;
    };
    const SCase cases[] = {
        {"short", "Tarnwick\nVersion 1.001", "Tarnwick\nVersion 1.001"},
        {"exactly127", std::string(127, 'a'), std::string(127, 'a')},
        {"ascii128", std::string(128, 'a'), std::string(127, 'a')},
        {"twoByteAcrossTheLimit", a126 + "\xC3\xA9", a126},
        {"twoByteEndingAtTheLimit", a125 + "\xC3\xA9" + "z", a125 + "\xC3\xA9"},
        {"threeByteAcrossTheLimit", a125 + "\xE2\x82\xAC", a125},
        {"fourByteAcrossTheLimit", a125 + "\xF0\x9F\x93\xB6", a125},
        {"leadByteAtTheLimit", std::string(127, 'a') + "\xC3\xA9", std::string(127, 'a')},
        {"nulEndsTheText", std::string("Tarn\0wick", 9), "Tarn"},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(CutTrayTip(c.strIn), c.strOut) << c.pszName;
}

} // namespace
