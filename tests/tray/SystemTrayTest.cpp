// The tray icon's rules over a fake shell: its states, mouse actions, menu and tooltip.
#include "CFakeShellTray.h"

#include "res/Resource.h"
#include "tray/CMenu.h"
#include "tray/CSystemTray.h"
#include "tray/ICommandTarget.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tarnwick {

namespace {

constexpr unsigned kIconID = IDR_TRAYMENU, kSpiSetDeskWallpaper = 20;

// The tray object on a fake shell, posting commands to this object. Its menu hook notes the
// first item it is handed, then renames it, so that a later showing can tell whether it got
// a fresh copy.
struct CTray : ICommandTarget {
    bool OnCommand(unsigned) override { return false; }
    void PostCommand(unsigned nID) override { posted.push_back(nID); }

    bool Create(const std::string& strTip = "Tarnwick\nVersion 1.001") {
        return tray->Create(WM::TrayNotify, strTip, IDR_MAINFRAME, kIconID, [this](CMenu& popup) {
            hookSaw.push_back(popup.GetMenuText(0));
            popup.ModifyMenuItem(0, ID_SETTINGS, "Marked by the hook");
        });
    }

    void Step(char cStep) {
        IShellTrayHandler* pHandler = shell.m_pHandler;
        if (cStep == 'U')
            shell.m_bSupported = false;
        else if (cStep == 'C')
            EXPECT_EQ(Create(), shell.m_bSupported && shell.m_bAccepts);
        else if (cStep == 'r' || cStep == 'a')
            shell.m_bAccepts = cStep == 'a';
        else if (pHandler != nullptr && cStep == 'T')
            pHandler->OnTaskbarCreated();
        else if (pHandler != nullptr)
            pHandler->OnSettingChange(cStep == 'W' ? SPI::SetWorkArea : kSpiSetDeskWallpaper);
    }

    CFakeShellTray shell;
    std::optional<CSystemTray> tray{std::in_place, shell, *this};
    std::vector<std::string> hookSaw;
    std::vector<unsigned> posted;
};

TEST(SystemTray, FlagsAndShellCallsFollowTheStateTable) {
    // Steps: U no notification area, C Create, r/a the shell refuses/accepts adds, T the host
    // restarts ("TaskbarCreated"), W/O the work area/another setting changes. Then the flags
    // absent, removed, restore pending; the shell calls (add, delete; "|" at destruction).
    const char* const cases[][3] = {
        {"NeverCreated", "", "110 |"},
        {"Unsupported", "UCTW", "110 |"},
        {"ShownHostRestarts", "CT", "000 aa|d"}, // added again, as on a work-area change
        {"ShownWorkArea", "CW", "000 aa|d"},
        {"ShownOtherSetting", "CO", "000 a|d"}, // but not on another setting
        {"Refused", "rC", "111 a|"},            // only the next Create (the frame's retry) adds it
        {"RefusedHostRestarts", "rCaTW", "110 a|"},
        {"RefusedThenRetried", "rCaC", "000 aa|d"},
        {"UnconfirmedAfterWorkArea", "CrW", "101 aa|d"}, // a failed re-add: nothing adds it
        {"UnconfirmedHostRestartsAgain", "CrTaT", "101 aa|d"},
        {"UnconfirmedWorkAreaAgain", "CrWaW", "100 aa|d"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        CTray t;
        for (const char* p = c[1]; *p != '\0'; ++p)
            t.Step(*p);
        const CSystemTray& tray = *t.tray;
        std::string strSeen = std::string() + "01"[tray.IsIconAbsent()] +
                              "01"[tray.IsIconRemoved()] + "01"[tray.IsRestorePending()] + " ";
        const std::size_t nBefore = strSeen.size() + t.shell.m_calls.size();
        t.tray.reset();
        for (const std::string& strCall : t.shell.m_calls)
            strSeen += strCall[0];
        EXPECT_EQ(strSeen.insert(nBefore, "|"), c[2]);
        EXPECT_EQ(t.shell.m_pHandler, nullptr);
    }
}

TEST(SystemTray, MouseActionsMenuAndDefaultItem) {
    CTray t;
    ASSERT_TRUE(t.Create(std::string(200, 'x')));
    EXPECT_EQ(t.shell.m_lastData.strTip, std::string(127, 'x'));
    // Presses, single clicks and moves do nothing; nothing does for another icon.
    t.shell.m_nChoice = ID_APP_EXIT;
    for (unsigned nMsg : {WM::LButtonDown, WM::LButtonUp, WM::RButtonDown, WM::MouseMove})
        EXPECT_EQ(t.tray->HandleTrayMessage(kIconID, nMsg), 1u) << "message " << nMsg;
    for (unsigned nMsg : {WM::RButtonUp, WM::LButtonDblClk})
        EXPECT_EQ(t.tray->HandleTrayMessage(kIconID + 1, nMsg), 0u) << "message " << nMsg;
    // The default (0, by position) is the first item's command, not the number 0; only the
    // low word of the mouse message counts.
    EXPECT_EQ(t.tray->HandleTrayMessage(kIconID, 0x10000u | WM::LButtonDblClk), 1u);
    // A default by command id serves the bold item and the double click alike.
    ASSERT_TRUE(t.tray->SetDefaultMenuItem(ID_APP_ABOUT, false));
    EXPECT_EQ(t.tray->HandleTrayMessage(kIconID, WM::RButtonUp), 1u);
    t.shell.m_nChoice = 0; // closed without a choice: nothing is posted
    t.shell.Click(WM::RButtonUp);
    ASSERT_EQ(t.shell.m_shownMenus.size(), 2u);
    EXPECT_EQ(t.shell.m_shownMenus[1].GetMenuText(0), "Marked by the hook");
    EXPECT_EQ(t.shell.m_shownMenus[1].GetDefaultItem(), 6);
    t.shell.Click(WM::LButtonDblClk);
    // The hook ran on a fresh copy for each showing, and not for a double click.
    EXPECT_EQ(t.hookSaw, (std::vector<std::string>{"Settings", "Settings"}));
    // A menu that the host drew itself reports its choice as a command.
    t.shell.m_pHandler->OnTrayCommand(ID_REBOOT);
    t.shell.m_pHandler->OnTrayCommand(0);
    EXPECT_EQ(t.posted, (std::vector<unsigned>{ID_SETTINGS, ID_APP_EXIT, ID_APP_ABOUT, ID_REBOOT}));
}

TEST(SystemTray, TooltipKeepsAtMost127BytesAndNeverSplitsACharacter) {
    // UTF-8 characters across the limit and ending at it; a NUL byte ends the text.
    const std::string a125(125, 'a'), a126(126, 'a'), a127(127, 'a'), e = "\xC3\xA9";
    const struct {
        const char* pszRow;
        std::string strTip;
        std::string strShown;
    } rows[] = {{"at the limit", a127, a127},
                {"one over", a127 + "a", a127},
                {"two-byte character across it", a126 + e, a126},
                {"two-byte character ending at it", a125 + e + "z", a125 + e},
                {"three-byte character across it", a125 + "\xE2\x82\xAC", a125},
                {"NUL byte", std::string("Tarn\0wick", 9), "Tarn"}};
    for (const auto& row : rows)
        EXPECT_EQ(CutTrayTip(row.strTip), row.strShown) << row.pszRow;
}

} // namespace

} // namespace tarnwick
