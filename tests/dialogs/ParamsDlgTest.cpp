// The parameters dialog: the opening tab, the working copy, OK's chain and Cancel.
#include "CFakeDialogWindow.h"
#include "CFakeServices.h"
#include "CPageHarness.h"

#include "app/CTarnwickApp.h"
#include "dialogs/CParamsDlg.h"
#include "engine/TimerIds.h"
#include "res/DialogIds.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <vector>

namespace {

class ParamsDlgTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_bStarted); }
    void Open() {
        m_dlg.emplace(m_app, m_chooser);
        m_window.emplace();
        m_window->m_tab.m_fnSelChange = [this] { m_dlg->OnNotify(IDC_PARAMS_TAB, TCN_SELCHANGE); };
        ASSERT_TRUE(m_dlg->OnInitDialog(*m_window));
    }
    // The window goes, then the dialog object.
    void Close() {
        m_dlg->OnDestroy();
        m_window.reset();
        m_dlg.reset();
    }
    CFakeDialogItems& General() { return m_window->m_tab.Items(m_dlg->GetGeneralPage()); }
    CFakeDialogItems& WatchDogging() { return m_window->m_tab.Items(m_dlg->GetWatchDoggingPage()); }
    AppSettings& Live() { return m_app.m_AppSettings; }

    CFakeServices m_fakes;
    CTarnwickApp m_app{m_fakes.services};
    bool m_bStarted = m_app.InitInstance();
    CFakeFileChooser m_chooser;
    std::optional<CParamsDlg> m_dlg;
    std::optional<CFakeDialogWindow> m_window;
};

TEST_F(ParamsDlgTest, OpensOnTheRememberedTabOrOnTheFirst) {
    struct {
        int nStored;
        int nShown;
    } const cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}, {INT_MIN, 0}};
    for (const auto& c : cases) {
        Live().CurrentTab = c.nStored;
        Open();
        CTabPageDlg* pages[] = {&m_dlg->GetGeneralPage(), &m_dlg->GetWatchDoggingPage(),
                                &m_dlg->GetLptResetterPage()};
        EXPECT_EQ(m_window->m_tab.m_tabs,
                  (std::vector<std::string>{"General", "WatchDogging", "LPT Resetter"}));
        EXPECT_EQ(m_window->m_tab.GetCurSel(), c.nShown) << c.nStored;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(m_window->m_tab.IsVisible(*pages[i]), i == c.nShown) << c.nStored;
        Close();
        EXPECT_EQ(Live().CurrentTab, c.nShown);
    }
}

TEST_F(ParamsDlgTest, OKStoresCopiesSavesAndAppliesAgain) {
    Live().iMaxFaults = 9;
    Live().bAutoRun = 1;
    m_app.m_nFaultCount = 2;
    m_fakes.timers.Advance(60000); // half way through the check period
    m_fakes.autorun.m_calls.clear();
    const int nCommits = m_fakes.profile.m_nCommits;
    Open();
    EXPECT_EQ(WatchDogging().GetItemText(IDC_WD_MAX_FAULTS), "9");
    WatchDogging().Type(IDC_WD_MAX_FAULTS, "4");
    General().Click(IDC_GEN_AUTO_SHUTDOWN);
    m_window->m_tab.ClickTab(2);
    EXPECT_EQ(Live().iMaxFaults, 9); // the pages edit a copy
    EXPECT_EQ(m_dlg->GetWorkingCopy().iMaxFaults, 9);

    m_dlg->OnOK();
    EXPECT_EQ(m_window->m_results, std::vector<int>{IDOK});
    AppSettings expected;
    expected.iMaxFaults = 4;
    expected.bAutoRun = 1;
    expected.bAutoShutdown = 1;
    expected.sShutdownTime = "21:00";
    EXPECT_EQ(SettingsText(Live()), SettingsText(expected));
    EXPECT_EQ(m_fakes.profile.m_nCommits, nCommits + 1);
    EXPECT_EQ(m_fakes.profile.Value("WatchDogging", "iMaxFaults"), "4");
    EXPECT_EQ(m_fakes.profile.Value("General", "CurrentTab"), "0"); // the tab it opened on
    EXPECT_EQ(m_fakes.autorun.m_calls,
              (std::vector<std::string>{"remove 1", "add 0 /opt/tarnwick/bin/tarnwick"}));
    EXPECT_EQ(m_fakes.timers.DueIn(IDT_SHUTDOWN), 9 * 3600 * 1000); // 12:00 to 21:00
    EXPECT_EQ(m_fakes.timers.DueIn(IDT_CHECK), 120000);             // restarted from its beginning
    EXPECT_EQ(m_app.m_nFaultCount, 0);
    Close();
    EXPECT_EQ(Live().CurrentTab, 2);
}

TEST_F(ParamsDlgTest, OKWithEveryCheckOffLeavesTheCheckTimerStopped) {
    Open();
    WatchDogging().Click(IDC_WD_CHECK_CONN);
    m_dlg->OnOK();
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_CHECK));
}

TEST_F(ParamsDlgTest, CancelKeepsOnlyTheSelectedTab) {
    m_app.m_nFaultCount = 2;
    m_fakes.autorun.m_calls.clear();
    const int nCommits = m_fakes.profile.m_nCommits;
    AppSettings expected = Live();
    Open();
    General().Click(IDC_GEN_AUTORUN);
    WatchDogging().Type(IDC_WD_CONNECTION, "Other");
    m_window->m_tab.ClickTab(1);
    m_dlg->OnCancel();
    EXPECT_EQ(m_window->m_results, std::vector<int>{IDCANCEL});
    Close();
    expected.CurrentTab = 1;
    EXPECT_EQ(SettingsText(Live()), SettingsText(expected));
    EXPECT_EQ(m_fakes.profile.m_nCommits, nCommits);
    EXPECT_TRUE(m_fakes.autorun.m_calls.empty());
    EXPECT_EQ(m_app.m_nFaultCount, 2);
}

TEST_F(ParamsDlgTest, EnterAndEscapeInsideAPageActOnTheDialog) {
    Open();
    WatchDogging().Type(IDC_WD_CONNECTION, "Other");
    m_dlg->GetWatchDoggingPage().OnCancel();
    EXPECT_EQ(m_window->m_results, std::vector<int>{IDCANCEL});
    EXPECT_EQ(Live().sDefaultConnection, "");
    Close();

    Open();
    WatchDogging().Type(IDC_WD_CONNECTION, "Other");
    WatchDogging().Type(IDC_WD_CHECK_DELAY, "0"); // Enter in the field: it never lost the focus
    m_dlg->GetWatchDoggingPage().OnOK();
    EXPECT_EQ(m_window->m_results, std::vector<int>{IDOK});
    EXPECT_EQ(Live().sDefaultConnection, "Other");
    EXPECT_EQ(Live().iCheckDelay, 1);
    EXPECT_EQ(m_fakes.timers.Period(IDT_CHECK), 60000u);
}

} // namespace
