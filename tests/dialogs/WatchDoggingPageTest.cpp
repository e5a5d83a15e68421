// The "WatchDogging" page: the master switch, the start-up note, the three checks and the
// values they govern.
#include "CFakeDialogWindow.h"
#include "CFakeServices.h"
#include "CPageHarness.h"

#include "app/CTarnwickApp.h"
#include "dialogs/CWatchDoggingPage.h"
#include "res/DialogIds.h"
#include "res/Resource.h"

#include <map>

namespace {

constexpr std::initializer_list<int> kAnyCheckLines = {
    IDC_WD_ST_PERIOD,      IDC_WD_CHECK_DELAY, IDC_WD_ST_MIN,   IDC_WD_ST_AFTER,
    IDC_WD_ST_REDIAL_NOTE, IDC_WD_MAX_FAULTS,  IDC_WD_ST_FAULTS};
constexpr std::initializer_list<int> kFileLine = {IDC_WD_ST_FILE, IDC_WD_FILE, IDC_WD_BROWSE};
constexpr std::initializer_list<int> kUrlLine = {IDC_WD_ST_URL, IDC_WD_URL};

class WatchDoggingPageTest : public CPageHarness {
protected:
    void SetUp() override { ASSERT_TRUE(m_bStarted); }
    bool StartApp() {
        m_fakes.dialUp.m_entries = {"work", "Home", "ISP"};
        return m_app.InitInstance();
    }
    std::map<int, bool> EnabledStates() {
        std::map<int, bool> states;
        for (const SDlgItemTemplate& item : FindDialogTemplate(IDD_WATCHDOGGING)->items)
            states[item.nID] = Items().IsItemEnabled(item.nID);
        return states;
    }
    void ExpectOnlyMasterEnabled() {
        for (const auto& [nID, bEnabled] : EnabledStates())
            EXPECT_EQ(bEnabled, nID == IDC_WD_ENABLE) << "control " << nID;
    }

    CFakeServices m_fakes;
    CTarnwickApp m_app{m_fakes.services};
    bool m_bStarted = StartApp(); // the page asks the running frame for the phone book
    CFakeFileChooser m_chooser;
    CWatchDoggingPage m_page{m_registry, m_app.GetMainWnd(), m_chooser};
};

TEST_F(WatchDoggingPageTest, DefaultsEnableAllButTheFileAndUrlLines) {
    Open(m_page);
    EXPECT_EQ(Items().GetItemText(IDC_WD_CHECK_DELAY), "2");
    EXPECT_EQ(Items().GetItemText(IDC_WD_MAX_FAULTS), "3");
    EXPECT_EQ(Items().GetItemText(IDC_WD_URL), kDefaultURLDownload);
    std::map<int, bool> expected = EnabledStates();
    for (auto& [nID, bEnabled] : expected)
        bEnabled = true;
    for (int nID : kFileLine)
        expected[nID] = false;
    for (int nID : kUrlLine)
        expected[nID] = false;
    EXPECT_EQ(EnabledStates(), expected);
    EXPECT_EQ(SettingsText(Stored(m_page)), SettingsText(AppSettings()));
}

TEST_F(WatchDoggingPageTest, PhoneBookEntriesAreListedSortedAndAnyNameCanBeTyped) {
    Open(m_page);
    ASSERT_EQ(Items().GetCount(IDC_WD_CONNECTION), 3);
    EXPECT_EQ(Items().GetLBText(IDC_WD_CONNECTION, 0), "Home");
    EXPECT_EQ(Items().GetLBText(IDC_WD_CONNECTION, 2), "work");
    Items().Type(IDC_WD_CONNECTION, "Not listed");
    EXPECT_EQ(Stored(m_page).sDefaultConnection, "Not listed");
    Items().Choose(IDC_WD_CONNECTION, 1);
    EXPECT_EQ(Stored(m_page).sDefaultConnection, "ISP");

    CPageRegistry registry; // without a frame the list stays empty
    CWatchDoggingPage page(registry, nullptr, m_chooser);
    CFakeDialogItems items(*FindDialogTemplate(IDD_WATCHDOGGING));
    ASSERT_TRUE(page.Create(items));
    EXPECT_EQ(items.GetCount(IDC_WD_CONNECTION), 0);
}

TEST_F(WatchDoggingPageTest, EachCombinationOfChecksEnablesItsLines) {
    for (int nMask = 0; nMask < 8; ++nMask) {
        CWatchDoggingPage page(m_registry, m_app.GetMainWnd(), m_chooser);
        m_settings.bCheckConnState = 0;
        Open(page);
        ExpectEnabled(kAnyCheckLines, false);
        if (nMask & 1)
            Items().Click(IDC_WD_CHECK_CONN);
        if (nMask & 2)
            Items().Click(IDC_WD_CHECK_FILE);
        if (nMask & 4)
            Items().Click(IDC_WD_CHECK_URL);
        SCOPED_TRACE(nMask);
        ExpectEnabled(kAnyCheckLines, nMask != 0);
        ExpectEnabled(kFileLine, (nMask & 2) != 0);
        ExpectEnabled(kUrlLine, (nMask & 4) != 0);
    }
}

TEST_F(WatchDoggingPageTest, MasterSwitchGreysEverythingAndRestoresWhatTheChecksCallFor) {
    m_settings.bEstablishConnection = 0;
    m_settings.bCheckURLDownload = 1;
    Open(m_page);
    const std::map<int, bool> before = EnabledStates();
    EXPECT_FALSE(before.at(IDC_WD_ST_STARTUP_NOTE));
    EXPECT_TRUE(before.at(IDC_WD_URL));

    Items().Click(IDC_WD_ENABLE);
    ExpectOnlyMasterEnabled();
    // The boxes keep their checks, and hand them back while greyed.
    const AppSettings s = Stored(m_page);
    EXPECT_EQ(s.bEnableWatchDogging, 0);
    EXPECT_EQ(s.bCheckConnState, 1);
    EXPECT_EQ(s.bCheckURLDownload, 1);
    EXPECT_EQ(s.bEstablishConnection, 0);

    Items().Click(IDC_WD_ENABLE);
    EXPECT_EQ(EnabledStates(), before);

    CWatchDoggingPage page(m_registry, m_app.GetMainWnd(), m_chooser);
    m_settings.bEnableWatchDogging = 0;
    Open(page);
    ExpectOnlyMasterEnabled();
}

TEST_F(WatchDoggingPageTest, StartupCheckGovernsOnlyItsNote) {
    Open(m_page);
    std::map<int, bool> expected = EnabledStates();
    Items().Click(IDC_WD_ESTABLISH);
    expected[IDC_WD_ST_STARTUP_NOTE] = false;
    EXPECT_EQ(EnabledStates(), expected);
}

TEST_F(WatchDoggingPageTest, LoadsAndStoresEveryField) {
    AppSettings loaded;
    loaded.sDefaultConnection = "Work";
    loaded.bEstablishConnection = 0;
    loaded.bCheckConnState = 0;
    loaded.bCheckFileRefresh = 1;
    loaded.bCheckURLDownload = 1;
    loaded.iCheckDelay = 45;
    loaded.iMaxFaults = 7;
    loaded.sFileRefresh = "/var/log/ppp.log";
    loaded.sURLDownload = "192.0.2.1:8080";
    m_settings = loaded;
    Open(m_page);
    EXPECT_EQ(Items().GetItemText(IDC_WD_CONNECTION), "Work");
    EXPECT_EQ(Items().GetItemText(IDC_WD_FILE), "/var/log/ppp.log");
    EXPECT_EQ(SettingsText(Stored(m_page)), SettingsText(loaded));
}

TEST_F(WatchDoggingPageTest, NumbersAreClampedForDisplayAndOnTheWayBack) {
    m_settings.iCheckDelay = 0;
    m_settings.iMaxFaults = 500;
    Open(m_page);
    EXPECT_EQ(Items().GetItemText(IDC_WD_CHECK_DELAY), "1");
    EXPECT_EQ(Items().GetItemText(IDC_WD_MAX_FAULTS), "100");
    EXPECT_EQ(Stored(m_page).iCheckDelay, 1);
    // Typed and confirmed while the field still has the focus: stored clamped all the same.
    Items().Type(IDC_WD_CHECK_DELAY, "20000");
    Items().Type(IDC_WD_MAX_FAULTS, "1x");
    EXPECT_EQ(Stored(m_page).iCheckDelay, 10000);
    EXPECT_EQ(Stored(m_page).iMaxFaults, 2);
}

TEST_F(WatchDoggingPageTest, BrowsePutsTheChosenPathIntoTheFileField) {
    m_settings.bCheckFileRefresh = 1;
    m_settings.sFileRefresh = "/old";
    Open(m_page);
    Items().Click(IDC_WD_BROWSE); // cancelled
    EXPECT_EQ(Items().GetItemText(IDC_WD_FILE), "/old");
    m_chooser.m_strAnswer = "/home/user/link alive.txt";
    Items().Click(IDC_WD_BROWSE);
    EXPECT_EQ(Items().GetItemText(IDC_WD_FILE), "/home/user/link alive.txt");
    EXPECT_EQ(m_chooser.m_filters,
              (std::vector<std::string>{"All Files (*.*)|*.*||", "All Files (*.*)|*.*||"}));
}

} // namespace
