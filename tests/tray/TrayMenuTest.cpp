// The tray menu as the main frame adapts it, the update rules and the menu's commands,
// driven through the tray icon with the fake shell, dial-up service and user interface.
#include "CFakeServices.h"

#include "app/CTarnwickApp.h"
#include "engine/CMainFrame.h"
#include "engine/TimerIds.h"
#include "platform/IPowerService.h"
#include "res/Resource.h"
#include "tray/CMenu.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

class TrayMenu : public ::testing::Test {
protected:
    // Starts the program; the phone book and connections must be set up before.
    void Start() {
        app = std::make_unique<CTarnwickApp>(fake.services);
        ASSERT_TRUE(app->InitInstance());
        ASSERT_TRUE(fake.shell.m_bIconShown);
    }
    CMainFrame& Frame() { return *app->GetMainWnd(); }

    // A right click on the icon; chooses nChoice (0: none) and runs what that posts.
    CMenu ShowMenu(unsigned nChoice = 0) {
        fake.shell.m_nChoice = nChoice;
        fake.shell.Click(WM_RBUTTONUP);
        fake.ui.RunPosted();
        return fake.shell.m_shownMenus.back();
    }
    static CMenu Connections(const CMenu& popup) { return *popup.GetSubMenu(3); }
    static CMenu ConnectTo(const CMenu& popup) { return *popup.GetSubMenu(3)->GetSubMenu(2); }
    static bool Enabled(const CMenu& menu, int nPos) { return menu.ItemAt(nPos)->bEnabled; }

    CFakeServices fake;
    std::unique_ptr<CTarnwickApp> app;
};

struct SConnectionCase {
    const char* pszName;
    std::vector<std::string> up; // connections up when the menu is shown
    std::string strDefault;      // sDefaultConnection at start-up
    bool bUpAtStart;             // the connections are up already at start-up
    std::string strReconnect, strDisconnect;
    bool bReconnect, bDisconnect;
};

void PrintTo(const SConnectionCase& c, std::ostream* pOut) {
    *pOut << c.pszName;
}

class TrayMenuConnections : public TrayMenu,
                            public ::testing::WithParamInterface<SConnectionCase> {};

TEST_P(TrayMenuConnections, ItemsNameTheCurrentEntryAndFollowItsState) {
    const SConnectionCase& c = GetParam();
    fake.dialUp.m_entries = {"Home ISP", "Lab & Modem"};
    fake.profile.Set("WatchDogging", "sDefaultConnection", c.strDefault);
    if (c.bUpAtStart)
        for (const std::string& strEntry : c.up)
            fake.dialUp.Connect(strEntry);
    Start();
    if (!c.bUpAtStart)
        for (const std::string& strEntry : c.up)
            fake.dialUp.Connect(strEntry);

    const CMenu connections = Connections(ShowMenu());
    EXPECT_EQ(connections.GetMenuString(0), c.strReconnect);
    EXPECT_EQ(connections.GetMenuString(1), c.strDisconnect);
    EXPECT_EQ(connections.GetMenuItemID(0), ID_RECONNECT_CURRENT);
    EXPECT_EQ(connections.GetMenuItemID(1), ID_DISCONNECT_CURRENT);
    EXPECT_EQ(Enabled(connections, 0), c.bReconnect);
    EXPECT_EQ(Enabled(connections, 1), c.bDisconnect);
}

INSTANTIATE_TEST_SUITE_P(Tray, TrayMenuConnections,
                         ::testing::Values(
                             // An "&" in an entry name is shown as it is, not as a mnemonic.
                             SConnectionCase{"ConnectionUp",
                                             {"Lab & Modem"},
                                             "",
                                             false,
                                             "Reconnect Lab && Modem",
                                             "Disconnect Lab && Modem",
                                             true,
                                             true},
                             SConnectionCase{"ConnectionUpAtStartUp",
                                             {"Home ISP"},
                                             "Lab & Modem",
                                             true,
                                             "Reconnect Home ISP",
                                             "Disconnect Home ISP",
                                             true,
                                             true},
                             SConnectionCase{"CurrentEntryWithoutConnection",
                                             {},
                                             "Home ISP",
                                             false,
                                             "Reconnect Home ISP",
                                             "Disconnect Home ISP",
                                             true,
                                             false},
                             SConnectionCase{"NoCurrentEntry",
                                             {},
                                             "",
                                             false,
                                             "Reconnect current",
                                             "Disconnect current",
                                             false,
                                             false}),
                         [](const ::testing::TestParamInfo<SConnectionCase>& param) {
                             return param.param.pszName;
                         });

TEST_F(TrayMenu, ConnectToListsThePhoneBookInOrderWithoutThePlaceholder) {
    fake.dialUp.m_entries = {"Home ISP", "Lab & Modem", "Backup"};
    Start();
    const CMenu connectTo = ConnectTo(ShowMenu());
    ASSERT_EQ(connectTo.GetMenuItemCount(), 3);
    const char* const names[] = {"Home ISP", "Lab && Modem", "Backup"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(connectTo.GetMenuString(i), names[i]);
        EXPECT_EQ(connectTo.GetMenuItemID(i), ID_CONNECT_FIRST + static_cast<unsigned>(i));
        EXPECT_TRUE(Enabled(connectTo, i));
    }
}

TEST_F(TrayMenu, AnEmptyOrUnreadablePhoneBookGivesAnEmptyConnectTo) {
    Start();
    EXPECT_EQ(ConnectTo(ShowMenu()).GetMenuItemCount(), 0);
    fake.dialUp.m_entries = {"Home ISP"};
    fake.dialUp.m_bServiceDown = true;
    EXPECT_EQ(ConnectTo(ShowMenu()).GetMenuItemCount(), 0);
}

TEST_F(TrayMenu, EveryShowingStartsFromTheMenuResource) {
    fake.dialUp.m_entries = {"Home ISP", "Lab & Modem"};
    fake.dialUp.Connect("Home ISP");
    Start();
    EXPECT_EQ(Connections(ShowMenu()).GetMenuString(0), "Reconnect Home ISP");
    EXPECT_EQ(ConnectTo(fake.shell.m_shownMenus.back()).GetMenuItemCount(), 2);
    fake.dialUp.m_connections.clear();
    fake.dialUp.m_entries = {"Backup"};
    // The current entry stays what it was; the list is read anew.
    EXPECT_EQ(Connections(ShowMenu()).GetMenuString(0), "Reconnect Home ISP");
    EXPECT_EQ(ConnectTo(fake.shell.m_shownMenus.back()).GetMenuItemCount(), 1);
}

TEST_F(TrayMenu, ThePowerCycleOffPhaseDisablesResetAndExit) {
    Start();
    const CMenu before = ShowMenu();
    EXPECT_EQ(before.GetDefaultItem(), 0);
    EXPECT_TRUE(Enabled(before, 4)); // Reset modem power
    EXPECT_TRUE(Enabled(before, 8)); // Exit Tarnwick

    ShowMenu(ID_RESET_MODEM_POWER);
    ASSERT_TRUE(Frame().IsModemOff());
    const CMenu off = ShowMenu();
    EXPECT_FALSE(Enabled(off, 4));
    EXPECT_FALSE(Enabled(off, 8));
    for (int nPos : {0, 6}) // Settings and About stay available
        EXPECT_TRUE(Enabled(off, nPos));

    fake.timers.Advance(fake.timers.DueIn(IDT_MODEM_POWER_OFF));
    ASSERT_FALSE(Frame().IsModemOff());
    const CMenu after = ShowMenu();
    EXPECT_TRUE(Enabled(after, 4));
    EXPECT_TRUE(Enabled(after, 8));
}

TEST_F(TrayMenu, ResetModemPowerNeedsThePortLibraryAndAPort) {
    struct SCase {
        bool bLibrary;
        int iLptPort;
        bool bEnabled;
    };
    for (const SCase& c : {SCase{true, 1, true}, SCase{true, 0, false}, SCase{false, 1, false}}) {
        app.reset();
        fake.modules.m_bPresent = c.bLibrary;
        fake.profile.Set("LptResetter", "iLptPort", std::to_string(c.iLptPort));
        Start();
        EXPECT_EQ(Enabled(ShowMenu(), 4), c.bEnabled) << c.bLibrary << " " << c.iLptPort;
    }
}

TEST_F(TrayMenu, SettingsIsDisabledAndGuardedWhileItsDialogIsOpen) {
    Start();
    bool bSawMenu = false;
    fake.ui.m_fnWhileModal = [&] {
        fake.ui.m_fnWhileModal = nullptr;
        EXPECT_FALSE(Enabled(ShowMenu(), 0));
        // A double click bypasses the update rules; the guard holds.
        fake.shell.Click(WM_LBUTTONDBLCLK);
        fake.ui.RunPosted();
        bSawMenu = true;
    };
    fake.shell.Click(WM_LBUTTONDBLCLK);
    fake.ui.RunPosted();
    EXPECT_TRUE(bSawMenu);
    EXPECT_EQ(fake.ui.m_nSettingsShown, 1);
    EXPECT_TRUE(Enabled(ShowMenu(), 0));
}

struct SQuestionCase {
    const char* pszName;
    unsigned nCommand;
    std::string strQuestion;
    unsigned uPowerFlags;
};

void PrintTo(const SQuestionCase& c, std::ostream* pOut) {
    *pOut << c.pszName;
}

class TrayMenuQuestions : public TrayMenu, public ::testing::WithParamInterface<SQuestionCase> {};

TEST_P(TrayMenuQuestions, YesActsAndNoChangesNothing) {
    const SQuestionCase& c = GetParam();
    fake.dialUp.m_entries = {"Lab & Modem"};
    fake.dialUp.Connect("Lab & Modem");
    Start();
    const std::vector<std::string> callsBefore = fake.dialUp.m_calls;

    fake.ui.m_bAnswerYes = false;
    ShowMenu(c.nCommand);
    EXPECT_EQ(fake.ui.m_questions, std::vector<std::string>{c.strQuestion});
    EXPECT_TRUE(fake.power.m_requests.empty());
    EXPECT_EQ(fake.dialUp.m_calls, callsBefore);
    EXPECT_EQ(fake.dialUp.m_connections.size(), 1u);

    fake.ui.m_bAnswerYes = true;
    ShowMenu(c.nCommand);
    if (c.uPowerFlags != 0) {
        EXPECT_EQ(fake.power.m_requests, std::vector<unsigned>{c.uPowerFlags});
    } else {
        std::vector<std::string> expected = callsBefore;
        expected.push_back("hangup Lab & Modem");
        expected.push_back("dial Lab & Modem");
        EXPECT_EQ(fake.dialUp.m_calls, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tray, TrayMenuQuestions,
    ::testing::Values(SQuestionCase{"Reboot", ID_REBOOT,
                                    "Are you sure you want to REBOOT the System?", EWX_REBOOT},
                      SQuestionCase{"Shutdown", ID_SHUTDOWN,
                                    "Are you sure you want to SHUTDOWN the System?", EWX_SHUTDOWN},
                      // The question names the entry as it is, without the menu's "&" escape.
                      SQuestionCase{"Reconnect", ID_RECONNECT_CURRENT,
                                    "Disconnect Lab & Modem and connect it again?", 0}),
    [](const ::testing::TestParamInfo<SQuestionCase>& param) { return param.param.pszName; });

TEST_F(TrayMenu, ReconnectWithoutConnectionDialsWithoutAsking) {
    fake.dialUp.m_entries = {"Home ISP"};
    fake.profile.Set("WatchDogging", "sDefaultConnection", "Home ISP");
    Start();
    fake.dialUp.m_calls.clear();
    ShowMenu(ID_RECONNECT_CURRENT);
    EXPECT_TRUE(fake.ui.m_questions.empty());
    EXPECT_EQ(fake.dialUp.m_calls, std::vector<std::string>{"dial Home ISP"});
}

TEST_F(TrayMenu, DisconnectAndConnectToActWithoutAsking) {
    fake.dialUp.m_entries = {"Home ISP", "Lab & Modem"};
    fake.dialUp.Connect("Home ISP");
    Start();
    fake.dialUp.m_calls.clear();
    ShowMenu(ID_DISCONNECT_CURRENT);
    ShowMenu(ID_CONNECT_FIRST + 1);
    EXPECT_TRUE(fake.ui.m_questions.empty());
    EXPECT_EQ(fake.dialUp.m_calls,
              (std::vector<std::string>{"hangup Home ISP", "dial Lab & Modem"}));
}

TEST_F(TrayMenu, AConnectToCommandBeyondTheListedEntriesDialsNothing) {
    fake.dialUp.m_entries = {"Home ISP", "Lab & Modem"};
    Start();
    ShowMenu();
    // The list shrinks (another reader refilled it) before a stale command arrives.
    fake.dialUp.m_entries = {"Home ISP"};
    Frame().LoadEntryList();
    fake.dialUp.m_calls.clear();
    Frame().OnCommand(ID_CONNECT_FIRST + 1);
    Frame().OnCommand(ID_CONNECT_LAST);
    EXPECT_TRUE(fake.dialUp.m_calls.empty());
}

TEST_F(TrayMenu, AboutShowsOneBoxAtATime) {
    Start();
    fake.ui.m_fnWhileModal = [&] {
        ShowMenu(ID_APP_ABOUT);
        fake.ui.m_fnWhileModal = nullptr;
    };
    ShowMenu(ID_APP_ABOUT);
    EXPECT_EQ(fake.ui.m_nAboutShown, 1);
    EXPECT_FALSE(app->m_bAboutOpen);
    ShowMenu(ID_APP_ABOUT);
    EXPECT_EQ(fake.ui.m_nAboutShown, 2);
}

TEST_F(TrayMenu, ExitEndsTheProgramWithoutAQuestion) {
    Start();
    ShowMenu(ID_APP_EXIT);
    EXPECT_TRUE(fake.ui.m_bQuitPosted);
    EXPECT_TRUE(fake.ui.m_questions.empty());
}

TEST_F(TrayMenu, ARefusedIconIsRetriedEveryFiveSecondsUntilItIsShown) {
    fake.shell.m_bAccepts = false;
    app = std::make_unique<CTarnwickApp>(fake.services);
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(fake.timers.Period(IDT_TRAY_RETRY), 5000u);

    // The host coming back does not add an icon that was refused: only the retry does.
    fake.shell.m_bAccepts = true;
    fake.shell.m_pHandler->OnTaskbarCreated();
    EXPECT_FALSE(fake.shell.m_bIconShown);
    fake.shell.m_bAccepts = false;
    fake.timers.Advance(5000);
    EXPECT_EQ(fake.shell.m_calls, (std::vector<std::string>{"add", "add"}));
    EXPECT_TRUE(fake.timers.IsArmed(IDT_TRAY_RETRY));

    fake.shell.m_bAccepts = true;
    fake.timers.Advance(5000);
    EXPECT_TRUE(fake.shell.m_bIconShown);
    EXPECT_FALSE(fake.timers.IsArmed(IDT_TRAY_RETRY));
    fake.timers.Advance(60000);
    EXPECT_EQ(fake.shell.m_calls.size(), 3u);

    // The default item was set with the successful add.
    fake.shell.Click(WM_LBUTTONDBLCLK);
    fake.ui.RunPosted();
    EXPECT_EQ(fake.ui.m_nSettingsShown, 1);
    app->ExitInstance();
    EXPECT_EQ(fake.shell.m_calls.back(), "delete");
}

} // namespace
