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
#include <string>
#include <vector>

namespace tarnwick {

namespace {

using Strings = std::vector<std::string>;

// The program on fake services, with "Home ISP" and "Lab & Modem" in the phone book.
struct CProgram {
    void Start(const char* pszDefaultConnection = "", bool bLabModemUp = false) {
        fake.dialUp.m_entries = {"Home ISP", "Lab & Modem"};
        fake.profile.Set("WatchDogging", "sDefaultConnection", pszDefaultConnection);
        if (bLabModemUp)
            fake.dialUp.Connect("Lab & Modem");
        app = std::make_unique<CTarnwickApp>(fake.services);
        ASSERT_TRUE(app->InitInstance());
    }
    // A right click on the icon; chooses nChoice (0: none) and runs what that posts.
    const CMenu& ShowMenu(unsigned nChoice = 0) {
        fake.shell.m_nChoice = nChoice;
        fake.shell.Click(WM::RButtonUp);
        fake.ui.RunPosted();
        static const CMenu s_none;
        EXPECT_FALSE(fake.shell.m_shownMenus.empty()) << "no menu was shown";
        return fake.shell.m_shownMenus.empty() ? s_none : fake.shell.m_shownMenus.back();
    }
    CFakeServices fake;
    std::unique_ptr<CTarnwickApp> app;
};

// A menu as text: items joined by "|", a sub-menu in "()", "~" before a greyed item; with
// bGreyed only the greyed items.
std::string Render(const CMenu& menu, bool bGreyed = false) {
    std::string strText;
    for (const CMenu::Item& item : menu.Items())
        if (!bGreyed || !item.bEnabled)
            strText += (strText.empty() ? "" : "|") + std::string(item.bEnabled ? "" : "~") +
                       item.strText + (item.popup.empty() ? "" : "(" + Render(item.popup[0]) + ")");
    return strText;
}

TEST(TrayMenu, ConnectionsNameTheCurrentEntryAndFollowItsState) {
    // A connection that comes up after start-up, sDefaultConnection, and the "Connections..."
    // sub-menu. An "&" in an entry name is shown as it is, not as a mnemonic.
    const struct {
        const char* pszRow;
        const char* pszUpLater;
        const char* pszDefault;
        const char* pszMenu;
    } rows[] = {
        {"came up after start-up", "Lab & Modem", "",
         "Reconnect Lab && Modem|Disconnect Lab && Modem|Connect to...(Home ISP|Lab && Modem)"},
        {"the default, down", "", "Home ISP",
         "Reconnect Home ISP|~Disconnect Home ISP|Connect to...(Home ISP|Lab && Modem)"},
        {"none", "", "",
         "~Reconnect current|~Disconnect current|Connect to...(Home ISP|Lab && Modem)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszRow);
        CProgram p;
        p.Start(row.pszDefault);
        if (*row.pszUpLater != '\0')
            p.fake.dialUp.Connect(row.pszUpLater);
        const CMenu* pConnections = p.ShowMenu().GetSubMenu(3);
        ASSERT_NE(pConnections, nullptr);
        EXPECT_EQ(Render(*pConnections), row.pszMenu);
        ASSERT_NE(pConnections->GetSubMenu(2), nullptr);
        EXPECT_EQ(pConnections->GetSubMenu(2)->GetMenuItemID(1), ID_CONNECT_FIRST + 1);
        // The phone book is read anew for each showing; an empty one lists nothing.
        p.fake.dialUp.m_entries.clear();
        pConnections = p.ShowMenu().GetSubMenu(3);
        ASSERT_NE(pConnections, nullptr);
        ASSERT_NE(pConnections->GetSubMenu(2), nullptr);
        EXPECT_EQ(Render(*pConnections->GetSubMenu(2)), "");
    }
}

// "Connect to" offers the first 101 entries, as many as its command range holds; the command
// of the last one dials it, and the id after the range dials nothing.
TEST(TrayMenu, ConnectToOffersAtMost101Entries) {
    CProgram p;
    p.Start();
    p.fake.dialUp.m_entries.clear();
    for (int i = 0; i < 103; ++i)
        p.fake.dialUp.m_entries.push_back("Entry " + std::to_string(1000 + i));
    const CMenu* pConnections = p.ShowMenu().GetSubMenu(3);
    ASSERT_NE(pConnections, nullptr);
    const CMenu* pConnectTo = pConnections->GetSubMenu(2);
    ASSERT_NE(pConnectTo, nullptr);
    ASSERT_EQ(pConnectTo->GetMenuItemCount(), 101);
    EXPECT_EQ(pConnectTo->GetMenuItemID(100), ID_CONNECT_LAST);
    p.fake.dialUp.m_calls.clear();
    CMainFrame* pFrame = p.app->GetMainWnd();
    ASSERT_NE(pFrame, nullptr);
    pFrame->OnCommand(ID_CONNECT_LAST);
    pFrame->OnCommand(ID_CONNECT_LAST + 1);
    EXPECT_EQ(p.fake.dialUp.m_calls, Strings{"dial Entry 1100"});
}

TEST(TrayMenu, ResetAndExitFollowThePortAndThePowerCycle) {
    // The port module is there, iLptPort, the power cycle (0 none, 1 in its off phase,
    // 2 over), and the greyed items.
    const struct {
        const char* pszRow;
        bool bLibrary;
        int iLptPort;
        int nCycle;
        const char* pszGreyed;
    } rows[] = {
        {"port and module", true, 1, 0, ""},
        {"no port", true, 0, 0, "~Reset modem power"},
        {"no module", false, 1, 0, "~Reset modem power"},
        {"during the off time", true, 1, 1, "~Reset modem power|~Exit Tarnwick"},
        {"after the power cycle", true, 1, 2, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszRow);
        CProgram p;
        p.fake.modules.m_bPresent = row.bLibrary;
        p.fake.profile.Set("LptResetter", "iLptPort", std::to_string(row.iLptPort));
        p.Start();
        if (row.nCycle > 0)
            p.ShowMenu(ID_RESET_MODEM_POWER);
        if (row.nCycle > 1)
            p.fake.timers.Advance(p.fake.timers.DueIn(IDT_MODEM_POWER_OFF));
        EXPECT_EQ(Render(p.ShowMenu(), true), row.pszGreyed);
    }
}

TEST(TrayMenu, SettingsWhileItsDialogIsOpenBringsThatDialogBack) {
    CProgram p;
    p.Start();
    p.fake.ui.m_fnWhileModal = [&] {
        p.fake.ui.m_fnWhileModal = nullptr;
        EXPECT_EQ(Render(p.ShowMenu(ID_SETTINGS), true), "");
        p.fake.shell.Click(WM::LButtonDblClk);
        p.fake.ui.RunPosted();
    };
    p.fake.shell.Click(WM::LButtonDblClk);
    p.fake.ui.RunPosted();
    EXPECT_EQ(p.fake.ui.m_nSettingsShown, 1);
    EXPECT_EQ(p.fake.ui.m_nSettingsRaised, 2);
}

TEST(TrayMenu, CommandsAskWhereTheyMustAndNoChangesNothing) {
    const char* const kReboot = "Are you sure you want to REBOOT the System?";
    const char* const kShutdown = "Are you sure you want to SHUTDOWN the System?";
    // The question names the entry as it is, without the menu's "&" escape.
    const char* const kRedial = "Disconnect Lab & Modem and connect it again?";
    // The command; whether "Lab & Modem", the current entry, is up; the answer; the question
    // asked, the dial-up calls and the power request.
    const struct {
        const char* pszRow;
        unsigned nCmd;
        bool bUp;
        bool bYes;
        const char* pszQuestion;
        Strings calls;
        unsigned uPower;
    } rows[] = {
        // clang-format off
        {"reboot, no", ID_REBOOT, true, false, kReboot, {}, 0},
        {"reboot, yes", ID_REBOOT, true, true, kReboot, {}, EWX::Reboot},
        {"shutdown, no", ID_SHUTDOWN, true, false, kShutdown, {}, 0},
        {"shutdown, yes", ID_SHUTDOWN, true, true, kShutdown, {}, EWX::Shutdown},
        {"reconnect, no", ID_RECONNECT_CURRENT, true, false, kRedial, {}, 0},
        {"reconnect, yes", ID_RECONNECT_CURRENT, true, true, kRedial,
            {"hangup Lab & Modem", "dial Lab & Modem"}, 0},
        {"reconnect while down: no question", ID_RECONNECT_CURRENT, false, false, "",
            {"dial Lab & Modem"}, 0},
        {"disconnect", ID_DISCONNECT_CURRENT, true, false, "", {"hangup Lab & Modem"}, 0},
        {"connect to the first entry", ID_CONNECT_FIRST, false, false, "", {"dial Home ISP"}, 0},
        {"stale command beyond the list", ID_CONNECT_FIRST + 2, false, false, "", {}, 0},
        {"exit", ID_APP_EXIT, true, false, "", {}, 0},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszRow);
        CProgram p;
        p.Start("Lab & Modem", row.bUp);
        p.fake.dialUp.m_calls.clear();
        p.fake.ui.m_bAnswerYes = row.bYes;
        p.ShowMenu(row.nCmd);
        EXPECT_EQ(p.fake.ui.m_questions,
                  *row.pszQuestion != '\0' ? Strings{row.pszQuestion} : Strings{});
        EXPECT_EQ(p.fake.dialUp.m_calls, row.calls);
        EXPECT_EQ(p.fake.power.m_requests,
                  std::vector<unsigned>(row.uPower != 0 ? 1 : 0, row.uPower));
        EXPECT_EQ(p.fake.ui.m_bQuitPosted, row.nCmd == ID_APP_EXIT);
    }
}

} // namespace

} // namespace tarnwick
