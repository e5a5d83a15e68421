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
#include <tuple>
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
    const char* const cases[][3] = {
        {"Lab & Modem", "",
         "Reconnect Lab && Modem|Disconnect Lab && Modem|Connect to...(Home ISP|Lab && Modem)"},
        {"", "Home ISP",
         "Reconnect Home ISP|~Disconnect Home ISP|Connect to...(Home ISP|Lab && Modem)"},
        {"", "", "~Reconnect current|~Disconnect current|Connect to...(Home ISP|Lab && Modem)"},
    };
    for (const auto& c : cases) {
        CProgram p;
        p.Start(c[1]);
        if (*c[0] != '\0')
            p.fake.dialUp.Connect(c[0]);
        const CMenu& connections = *p.ShowMenu().GetSubMenu(3);
        EXPECT_EQ(Render(connections), c[2]);
        EXPECT_EQ(connections.GetSubMenu(2)->GetMenuItemID(1), ID_CONNECT_FIRST + 1) << c[2];
        // The phone book is read anew for each showing; an empty one lists nothing.
        p.fake.dialUp.m_entries.clear();
        EXPECT_EQ(Render(*p.ShowMenu().GetSubMenu(3)->GetSubMenu(2)), "") << c[2];
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
    p.app->GetMainWnd()->OnCommand(ID_CONNECT_LAST);
    p.app->GetMainWnd()->OnCommand(ID_CONNECT_LAST + 1);
    EXPECT_EQ(p.fake.dialUp.m_calls, Strings{"dial Entry 1100"});
}

TEST(TrayMenu, ResetAndExitFollowThePortAndThePowerCycle) {
    // The port module is there, iLptPort, the power cycle (0 none, 1 in its off phase,
    // 2 over), and the greyed items.
    const std::tuple<bool, int, int, const char*> cases[] = {
        {true, 1, 0, ""},
        {true, 0, 0, "~Reset modem power"},
        {false, 1, 0, "~Reset modem power"},
        {true, 1, 1, "~Reset modem power|~Exit Tarnwick"},
        {true, 1, 2, ""},
    };
    for (const auto& [bLibrary, iLptPort, nCycle, pszGreyed] : cases) {
        CProgram p;
        p.fake.modules.m_bPresent = bLibrary;
        p.fake.profile.Set("LptResetter", "iLptPort", std::to_string(iLptPort));
        p.Start();
        if (nCycle > 0)
            p.ShowMenu(ID_RESET_MODEM_POWER);
        if (nCycle > 1)
            p.fake.timers.Advance(p.fake.timers.DueIn(IDT_MODEM_POWER_OFF));
        EXPECT_EQ(Render(p.ShowMenu(), true), pszGreyed) << bLibrary << iLptPort << nCycle;
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
    const std::tuple<unsigned, bool, bool, const char*, Strings, unsigned> cases[] = {
        {ID_REBOOT, true, false, kReboot, {}, 0},
        {ID_REBOOT, true, true, kReboot, {}, EWX::Reboot},
        {ID_SHUTDOWN, true, false, kShutdown, {}, 0},
        {ID_SHUTDOWN, true, true, kShutdown, {}, EWX::Shutdown},
        {ID_RECONNECT_CURRENT, true, false, kRedial, {}, 0},
        {ID_RECONNECT_CURRENT, true, true, kRedial, {"hangup Lab & Modem", "dial Lab & Modem"}, 0},
        {ID_RECONNECT_CURRENT, false, false, "", {"dial Lab & Modem"}, 0},
        {ID_DISCONNECT_CURRENT, true, false, "", {"hangup Lab & Modem"}, 0},
        {ID_CONNECT_FIRST, false, false, "", {"dial Home ISP"}, 0},
        {ID_CONNECT_FIRST + 2, false, false, "", {}, 0}, // a stale command beyond the list
        {ID_APP_EXIT, true, false, "", {}, 0},
    };
    for (const auto& [nCmd, bUp, bYes, pszQuestion, calls, uPower] : cases) {
        SCOPED_TRACE(testing::Message() << nCmd << " up " << bUp << " yes " << bYes);
        CProgram p;
        p.Start("Lab & Modem", bUp);
        p.fake.dialUp.m_calls.clear();
        p.fake.ui.m_bAnswerYes = bYes;
        p.ShowMenu(nCmd);
        EXPECT_EQ(p.fake.ui.m_questions, *pszQuestion ? Strings{pszQuestion} : Strings{});
        EXPECT_EQ(p.fake.dialUp.m_calls, calls);
        EXPECT_EQ(p.fake.power.m_requests, std::vector<unsigned>(uPower ? 1 : 0, uPower));
        EXPECT_EQ(p.fake.ui.m_bQuitPosted, nCmd == ID_APP_EXIT);
    }
}

} // namespace

} // namespace tarnwick
