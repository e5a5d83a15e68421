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

class WatchDoggingPageTest : public CPageHarness {
protected:
    void SetUp() override { ASSERT_TRUE(m_bStarted); }
    bool StartApp() {
        m_fakes.dialUp.m_entries = {"work", "Home", "ISP"};
        return m_app.InitInstance();
    }
    void Open() { CPageHarness::Open(m_page); }
    AppSettings Store() {
        m_page.StoreIfBound();
        return m_settings;
    }
    std::map<int, bool> EnabledStates() {
        std::map<int, bool> states;
        for (const SDlgItemTemplate& item : FindDialogTemplate(IDD_WATCHDOGGING)->items)
            states[item.nID] = Items().IsItemEnabled(item.nID);
        return states;
    }

    CFakeServices m_fakes;
    CTarnwickApp m_app{m_fakes.services};
    bool m_bStarted = StartApp(); // the page asks the running frame for the phone book
    CFakeFileChooser m_chooser;
    CWatchDoggingPage m_page{m_registry, m_app.GetMainWnd(), m_chooser};
};

constexpr std::initializer_list<int> kAnyCheckLine = {
    IDC_WD_ST_PERIOD,      IDC_WD_CHECK_DELAY, IDC_WD_ST_MIN,   IDC_WD_ST_AFTER,
    IDC_WD_ST_REDIAL_NOTE, IDC_WD_MAX_FAULTS,  IDC_WD_ST_FAULTS};
constexpr std::initializer_list<int> kFileLine = {IDC_WD_ST_FILE, IDC_WD_FILE, IDC_WD_BROWSE};
constexpr std::initializer_list<int> kUrlLine = {IDC_WD_ST_URL, IDC_WD_URL};

TEST_F(WatchDoggingPageTest, Defaults) {
    Open();
    EXPECT_EQ(Items().GetCheck(IDC_WD_ENABLE), BST_CHECKED);
    EXPECT_EQ(Items().GetCheck(IDC_WD_ESTABLISH), BST_CHECKED);
    EXPECT_EQ(Items().GetCheck(IDC_WD_CHECK_CONN), BST_CHECKED);
    EXPECT_EQ(Items().GetCheck(IDC_WD_CHECK_FILE), BST_UNCHECKED);
    EXPECT_EQ(Items().GetCheck(IDC_WD_CHECK_URL), BST_UNCHECKED);
    EXPECT_EQ(Items().GetItemText(IDC_WD_CHECK_DELAY), "2");
    EXPECT_EQ(Items().GetItemText(IDC_WD_MAX_FAULTS), "3");
    EXPECT_EQ(Items().GetItemText(IDC_WD_URL), kDefaultURLDownload);
    EXPECT_EQ(Items().GetItemText(IDC_WD_FILE), "");
    EXPECT_EQ(Items().GetItemText(IDC_WD_CONNECTION), "");
    ExpectEnabled({IDC_WD_ENABLE, IDC_WD_GRP_CONNECTION, IDC_WD_ST_CONNECTION, IDC_WD_CONNECTION,
                   IDC_WD_GRP_STARTUP, IDC_WD_ESTABLISH, IDC_WD_ST_STARTUP_NOTE,
                   IDC_WD_GRP_BACKGROUND, IDC_WD_CHECK_CONN, IDC_WD_CHECK_FILE, IDC_WD_CHECK_URL},
                  true);
    ExpectEnabled(kAnyCheckLine, true);
    ExpectEnabled(kFileLine, false);
    ExpectEnabled(kUrlLine, false);
}

TEST_F(WatchDoggingPageTest, PhoneBookEntriesAreListedSorted) {
    Open();
    ASSERT_EQ(Items().GetCount(IDC_WD_CONNECTION), 3);
    EXPECT_EQ(Items().GetLBText(IDC_WD_CONNECTION, 0), "Home");
    EXPECT_EQ(Items().GetLBText(IDC_WD_CONNECTION, 1), "ISP");
    EXPECT_EQ(Items().GetLBText(IDC_WD_CONNECTION, 2), "work");
    // A name that is not in the phone book is kept as typed.
    Items().Type(IDC_WD_CONNECTION, "Not listed");
    EXPECT_EQ(Store().sDefaultConnection, "Not listed");
    Items().Choose(IDC_WD_CONNECTION, 1);
    EXPECT_EQ(Store().sDefaultConnection, "ISP");
}

TEST_F(WatchDoggingPageTest, EachCombinationOfChecksEnablesItsLines) {
    for (int nMask = 0; nMask < 8; ++nMask) {
        CWatchDoggingPage page(m_registry, m_app.GetMainWnd(), m_chooser);
        m_settings.bCheckConnState = 0;
        m_settings.bCheckFileRefresh = 0;
        m_settings.bCheckURLDownload = 0;
        CPageHarness::Open(page);
        ExpectEnabled(kAnyCheckLine, false);
        // Turned on by the user, one by one.
        if (nMask & 1)
            Items().Click(IDC_WD_CHECK_CONN);
        if (nMask & 2)
            Items().Click(IDC_WD_CHECK_FILE);
        if (nMask & 4)
            Items().Click(IDC_WD_CHECK_URL);
        SCOPED_TRACE(nMask);
        ExpectEnabled(kAnyCheckLine, nMask != 0);
        ExpectEnabled(kFileLine, (nMask & 2) != 0);
        ExpectEnabled(kUrlLine, (nMask & 4) != 0);
    }
}

TEST_F(WatchDoggingPageTest, MasterSwitchGreysEverythingAndRestoresWhatTheChecksCallFor) {
    m_settings.bEstablishConnection = 0;
    m_settings.bCheckURLDownload = 1;
    Open();
    const std::map<int, bool> before = EnabledStates();
    EXPECT_FALSE(before.at(IDC_WD_ST_STARTUP_NOTE));
    EXPECT_TRUE(before.at(IDC_WD_URL));

    Items().Click(IDC_WD_ENABLE);
    for (const auto& [nID, bEnabled] : EnabledStates())
        EXPECT_EQ(bEnabled, nID == IDC_WD_ENABLE) << "control " << nID;
    // The boxes keep their checks, and hand them back while greyed.
    EXPECT_EQ(Items().GetCheck(IDC_WD_CHECK_CONN), BST_CHECKED);
    const AppSettings s = Store();
    EXPECT_EQ(s.bEnableWatchDogging, 0);
    EXPECT_EQ(s.bCheckConnState, 1);
    EXPECT_EQ(s.bCheckFileRefresh, 0);
    EXPECT_EQ(s.bCheckURLDownload, 1);
    EXPECT_EQ(s.bEstablishConnection, 0);

    Items().Click(IDC_WD_ENABLE);
    EXPECT_EQ(EnabledStates(), before);
}

TEST_F(WatchDoggingPageTest, LoadedWithTheMasterSwitchOff) {
    m_settings.bEnableWatchDogging = 0;
    Open();
    for (const auto& [nID, bEnabled] : EnabledStates())
        EXPECT_EQ(bEnabled, nID == IDC_WD_ENABLE) << "control " << nID;
}

TEST_F(WatchDoggingPageTest, StartupCheckGovernsOnlyItsNote) {
    Open();
    std::map<int, bool> expected = EnabledStates();
    Items().Click(IDC_WD_ESTABLISH);
    expected[IDC_WD_ST_STARTUP_NOTE] = false;
    EXPECT_EQ(EnabledStates(), expected);
    Items().Click(IDC_WD_ESTABLISH);
    expected[IDC_WD_ST_STARTUP_NOTE] = true;
    EXPECT_EQ(EnabledStates(), expected);
}

TEST_F(WatchDoggingPageTest, LoadsAndStoresEveryField) {
    m_settings.bEnableWatchDogging = 1;
    m_settings.sDefaultConnection = "Work";
    m_settings.bEstablishConnection = 0;
    m_settings.bCheckConnState = 0;
    m_settings.bCheckFileRefresh = 1;
    m_settings.bCheckURLDownload = 1;
    m_settings.iCheckDelay = 45;
    m_settings.iMaxFaults = 7;
    m_settings.sFileRefresh = "/var/log/ppp.log";
    m_settings.sURLDownload = "192.0.2.1:8080";
    const AppSettings loaded = m_settings;
    Open();
    EXPECT_EQ(Items().GetItemText(IDC_WD_CONNECTION), "Work");
    EXPECT_EQ(Items().GetItemText(IDC_WD_FILE), "/var/log/ppp.log");
    EXPECT_EQ(Items().GetItemText(IDC_WD_URL), "192.0.2.1:8080");
    EXPECT_EQ(Items().GetItemText(IDC_WD_CHECK_DELAY), "45");
    EXPECT_EQ(Items().GetItemText(IDC_WD_MAX_FAULTS), "7");

    m_settings = AppSettings(); // the page hands back every field it shows
    m_settings.iLptPort = 3;
    AppSettings s = Store();
    EXPECT_EQ(s.bEnableWatchDogging, loaded.bEnableWatchDogging);
    EXPECT_EQ(s.sDefaultConnection, loaded.sDefaultConnection);
    EXPECT_EQ(s.bEstablishConnection, loaded.bEstablishConnection);
    EXPECT_EQ(s.bCheckConnState, loaded.bCheckConnState);
    EXPECT_EQ(s.bCheckFileRefresh, loaded.bCheckFileRefresh);
    EXPECT_EQ(s.bCheckURLDownload, loaded.bCheckURLDownload);
    EXPECT_EQ(s.iCheckDelay, loaded.iCheckDelay);
    EXPECT_EQ(s.iMaxFaults, loaded.iMaxFaults);
    EXPECT_EQ(s.sFileRefresh, loaded.sFileRefresh);
    EXPECT_EQ(s.sURLDownload, loaded.sURLDownload);
    EXPECT_EQ(s.iLptPort, 3); // and nothing else

    Items().Type(IDC_WD_URL, "");
    Items().Type(IDC_WD_FILE, "");
    Items().Type(IDC_WD_CHECK_DELAY, "10");
    Items().LeaveField(IDC_WD_CHECK_DELAY);
    s = Store();
    EXPECT_EQ(s.sURLDownload, "");
    EXPECT_EQ(s.sFileRefresh, "");
    EXPECT_EQ(s.iCheckDelay, 10);
}

TEST_F(WatchDoggingPageTest, NumbersAreClampedForDisplayAndOnTheWayBack) {
    m_settings.iCheckDelay = 0;
    m_settings.iMaxFaults = 500;
    Open();
    EXPECT_EQ(Items().GetItemText(IDC_WD_CHECK_DELAY), "1");
    EXPECT_EQ(Items().GetItemText(IDC_WD_MAX_FAULTS), "100");
    EXPECT_EQ(Store().iCheckDelay, 1);
    EXPECT_EQ(Store().iMaxFaults, 100);
    // Typed and confirmed while the field still has the focus: stored clamped all the same.
    Items().Type(IDC_WD_CHECK_DELAY, "0");
    Items().Type(IDC_WD_MAX_FAULTS, "1x");
    EXPECT_EQ(Store().iCheckDelay, 1);
    EXPECT_EQ(Store().iMaxFaults, 2);
    Items().Type(IDC_WD_CHECK_DELAY, "20000");
    EXPECT_EQ(Store().iCheckDelay, 10000);
}

TEST_F(WatchDoggingPageTest, BrowsePutsTheChosenPathIntoTheFileField) {
    m_settings.bCheckFileRefresh = 1;
    m_settings.sFileRefresh = "/old";
    Open();
    Items().Click(IDC_WD_BROWSE); // cancelled
    EXPECT_EQ(Items().GetItemText(IDC_WD_FILE), "/old");
    m_chooser.m_strAnswer = "/home/user/link alive.txt";
    Items().Click(IDC_WD_BROWSE);
    EXPECT_EQ(Items().GetItemText(IDC_WD_FILE), "/home/user/link alive.txt");
    EXPECT_EQ(m_chooser.m_filters,
              (std::vector<std::string>{"All Files (*.*)|*.*||", "All Files (*.*)|*.*||"}));
    EXPECT_EQ(Items().GetCheck(IDC_WD_CHECK_FILE), BST_CHECKED);
}

TEST(WatchDoggingPageAlone, AnEmptyPhoneBookOrNoFrameLeavesTheListEmpty) {
    CPageRegistry registry;
    CFakeFileChooser chooser;
    CWatchDoggingPage page(registry, nullptr, chooser);
    CFakeDialogItems items(*FindDialogTemplate(IDD_WATCHDOGGING));
    ASSERT_TRUE(page.Create(items));
    EXPECT_EQ(items.GetCount(IDC_WD_CONNECTION), 0);
}

} // namespace
