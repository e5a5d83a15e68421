// The parameters dialog on a fake window: the pages' enabling rules and fields (each loaded
// and stored back through OK, compared as whole records), the opening tab, OK's chain and
// Cancel.
#include "CFakeServices.h"
#include "CFakeWindow.h"

#include "app/CTarnwickApp.h"
#include "engine/TimerIds.h"
#include "res/Resource.h"

#include <climits>

namespace tarnwick {

namespace {

using Ids = std::set<int>;
Ids operator+(Ids a, const Ids& b) {
    a.insert(b.begin(), b.end());
    return a;
}
// The controls of page nPage but those.
Ids AllBut(unsigned nPage, const Ids& ids) {
    Ids others;
    for (const SDlgItemTemplate& item : FindDialogTemplate(nPage)->items)
        if (ids.count(item.nID) == 0)
            others.insert(item.nID);
    return others;
}
const Ids kMethod = {IDC_GEN_ST_METHOD, IDC_GEN_METHOD};
const Ids kTime = {IDC_GEN_ST_TIME, IDC_GEN_TIME, IDC_GEN_ST_BIOS_NOTE};
const Ids kAnyCheck = {IDC_WD_ST_PERIOD, IDC_WD_CHECK_DELAY,    IDC_WD_ST_MIN,
                       IDC_WD_ST_AFTER,  IDC_WD_MAX_FAULTS,     IDC_WD_ST_REDIAL_NOTE,
                       IDC_WD_ST_FAULTS, IDC_WD_ST_MAX_REBOOTS, IDC_WD_MAX_REBOOTS,
                       IDC_WD_ST_REBOOTS};
const Ids kFile = {IDC_WD_ST_FILE, IDC_WD_FILE, IDC_WD_BROWSE};
const Ids kUrl = {IDC_WD_ST_URL, IDC_WD_URL};
const Ids kNote = {IDC_WD_ST_STARTUP_NOTE};
const Ids kWait = {IDC_LPT_ST_WAIT, IDC_LPT_WAIT_TIME, IDC_LPT_ST_WAIT_SEC};
const Ids kResetter = AllBut(IDD_LPTRESETTER, {IDC_LPT_ST_PORT, IDC_LPT_PORT, IDC_LPT_LIB_STATUS});
constexpr int kGen = 0, kWd = 1, kLpt = 2; // the tabs

// What the user does on a page: a click (on "..." with the file dialog answering psz), a
// choice of list entry psz, or typing psz.
struct SAction {
    char cWhat;
    int nID;
    const char* psz;
};

// The dialog of a started program, whose frame has the phone book and the port module.
class ParamsDialogTest : public ::testing::Test {
protected:
    static SAction Click(int nID, const char* pszChosen = "") { return {'c', nID, pszChosen}; }
    static SAction Pick(int nID, const char* pszIndex) { return {'p', nID, pszIndex}; }
    static SAction Type(int nID, const char* pszText) { return {'t', nID, pszText}; }
    // A record of defaults as the dialog stores it back (the time shown, not the empty
    // default), with the changes.
    static AppSettings Stored(const std::string& str) {
        return Record("sShutdownTime=21:00;" + str);
    }
    // The dialog on Stored(strLoaded), after the user's actions on page nTab.
    CFakeWindow& Open(const std::string& strLoaded, int nTab = kGen,
                      const std::vector<SAction>& actions = {}) {
        if (m_app.GetMainWnd() == nullptr) {
            m_fakes.dialUp.m_entries = {"work", "Home", "ISP"};
            EXPECT_TRUE(m_app.InitInstance());
        }
        if (m_pDlg)
            Close();
        Live() = Stored(strLoaded);
        m_pWindow = std::make_unique<CFakeWindow>();
        m_pDlg = std::make_unique<CParamsDlg>(m_app, *m_pWindow);
        EXPECT_TRUE(m_pDlg->OnInitDialog(*m_pWindow));
        for (const SAction& a : actions) {
            m_pWindow->m_strChosen = a.psz;
            if (a.cWhat == 'c')
                Page(nTab).Click(a.nID);
            else if (a.cWhat == 'p')
                Page(nTab).Choose(a.nID, std::atoi(a.psz));
            else
                Page(nTab).Type(a.nID, a.psz);
        }
        return Page(nTab);
    }
    void Close() { // the window goes, then the dialog object
        m_pDlg->OnDestroy();
        m_pWindow.reset();
        m_pDlg.reset();
    }
    CFakeWindow& Page(int nTab) { return m_pWindow->Page(TabPage(*m_pDlg, nTab)); }
    void ClickTab(int nTab) {
        m_pWindow->SetCurSel(nTab);
        m_pDlg->OnNotify(IDC_PARAMS_TAB, TCN::SelChange);
    }
    AppSettings& Live() { return m_app.GetSettings(); }

    CFakeServices m_fakes;
    CTarnwickApp m_app{m_fakes.services};
    std::unique_ptr<CParamsDlg> m_pDlg;
    std::unique_ptr<CFakeWindow> m_pWindow;
};

// Each row: the record loaded, what the user does on one page, which of that page's controls
// are disabled then, and what OK stores (both records as changes to Stored("")).
TEST_F(ParamsDialogTest, PageEnablingRulesAndEveryFieldLoadedAndStoredBack) {
    const char* pszGen = "bAutoRun=1;iAutoRunMethod=1;bAutoShutdown=1;sShutdownTime=06:45;";
    const char* pszWd =
        "sDefaultConnection=Work;bEstablishConnection=0;bCheckConnState=0;bCheckFileRefresh=1;"
        "bCheckURLDownload=1;iCheckDelay=45;iMaxFaults=7;sFileRefresh=/var/log/ppp.log;"
        "sURLDownload=192.0.2.1:8080;iMaxRebootsPerDay=4;";
    const char* pszNoConn = "bCheckConnState=0;";
    const char* pszOffOn = "bEstablishConnection=0;bCheckURLDownload=1;";
    const char* pszLpt =
        "iLptPort=2;iDataPort=632;iCtrlPort=634;iDataPortMask=255;iCtrlPortMask=11;"
        "iModemOffTime=30;iModemWaitTime=5;bTryToHangUp=0;bTryToReestablish=0;"
        "bMakeSureModemOn=0;";
    const char* pszOldFile = "bCheckFileRefresh=1;sFileRefresh=/old;";
    const char* pszNoPort = "iLptPort=-1;iDataPort=0;iCtrlPort=0;";
    const Ids kGenOff = kMethod + kTime, kWdOff = AllBut(IDD_WATCHDOGGING, {IDC_WD_ENABLE});
    const struct {
        const char* pszRow;
        int nTab;
        const char* pszLoaded;
        std::vector<SAction> actions;
        Ids disabled;
        const char* pszStored;
    } rows[] = {
        // clang-format off
        {"gen: defaults, no time stored", kGen, "sShutdownTime=;", {}, kGenOff, ""},
        {"gen: autorun on", kGen, "", {Click(IDC_GEN_AUTORUN)}, kTime, "bAutoRun=1;"},
        {"gen: shutdown on", kGen, "", {Click(IDC_GEN_AUTO_SHUTDOWN)}, kMethod,
            "bAutoShutdown=1;"},
        {"gen: every field", kGen, pszGen, {}, {}, pszGen},
        {"gen: every field changed", kGen, pszGen, {Pick(IDC_GEN_METHOD, "0"),
            Pick(IDC_GEN_TIME, "95"), Click(IDC_GEN_AUTORUN)}, kMethod,
            "bAutoShutdown=1;sShutdownTime=23:45;"},
        // The 96 quarter hours, 21:00 being entry 84; a time loaded is found by its beginning,
        // from the second entry round to the first.
        {"gen: 21:00 picked", kGen, "bAutoShutdown=1;sShutdownTime=06:45;",
            {Pick(IDC_GEN_TIME, "84")}, kMethod, "bAutoShutdown=1;"},
        {"gen: time not in the list", kGen, "sShutdownTime=7:30;", {}, kGenOff,
            "sShutdownTime=21:00;"},
        {"gen: midnight", kGen, "sShutdownTime=00:00;", {}, kGenOff, "sShutdownTime=00:00;"},
        {"gen: time found by its beginning", kGen, "sShutdownTime=12:3;", {}, kGenOff,
            "sShutdownTime=12:30;"},
        // A method or a port outside its list shows none and stores -1 (a port, no address).
        {"gen: unknown method", kGen, "iAutoRunMethod=2;", {}, kGenOff, "iAutoRunMethod=-1;"},
        {"lpt: unknown port", kLpt, "iLptPort=4;", {}, kResetter, pszNoPort},
        {"lpt: no port stored", kLpt, pszNoPort, {}, kResetter, pszNoPort},
        {"wd: every field", kWd, pszWd, {}, kNote, pszWd},
        {"wd: no check", kWd, pszNoConn, {}, kAnyCheck + kFile + kUrl, pszNoConn},
        {"wd: file check on", kWd, pszNoConn, {Click(IDC_WD_CHECK_FILE)}, kUrl,
            "bCheckConnState=0;bCheckFileRefresh=1;"},
        {"wd: probe on", kWd, pszNoConn, {Click(IDC_WD_CHECK_URL)}, kFile,
            "bCheckConnState=0;bCheckURLDownload=1;"},
        {"wd: start-up dial off", kWd, "", {Click(IDC_WD_ESTABLISH)}, kNote + kFile + kUrl,
            "bEstablishConnection=0;"},
        // The master switch greys all and leaves the boxes as they are; numbers are clamped
        // for display and on the way back, also when typed into a field never left.
        {"wd: typed numbers, then switched off", kWd, "", {Type(IDC_WD_CHECK_DELAY, "20000"),
            Type(IDC_WD_MAX_FAULTS, "1x"), Click(IDC_WD_ENABLE)}, kWdOff,
            "iCheckDelay=10000;iMaxFaults=2;bEnableWatchDogging=0;"},
        {"wd: stored off", kWd, "bEnableWatchDogging=0;", {}, kWdOff, "bEnableWatchDogging=0;"},
        {"wd: switched on", kWd, "bEnableWatchDogging=0;", {Click(IDC_WD_ENABLE)}, kFile + kUrl,
            ""},
        {"wd: off and on again", kWd, pszOffOn, {Click(IDC_WD_ENABLE), Click(IDC_WD_ENABLE)},
            kNote + kFile, pszOffOn},
        {"wd: stored numbers clamped", kWd, "iCheckDelay=0;iMaxFaults=500;iMaxRebootsPerDay=500;",
            {}, kFile + kUrl, "iCheckDelay=1;iMaxFaults=100;iMaxRebootsPerDay=99;"},
        {"wd: connection typed", kWd, "", {Type(IDC_WD_CONNECTION, "Other")}, kFile + kUrl,
            "sDefaultConnection=Other;"},
        // The phone book is listed sorted without regard to case: Home, ISP, work.
        {"wd: connection picked", kWd, "", {Pick(IDC_WD_CONNECTION, "1")}, kFile + kUrl,
            "sDefaultConnection=ISP;"},
        {"wd: file dialog cancelled", kWd, pszOldFile, {Click(IDC_WD_BROWSE)}, kUrl, pszOldFile},
        {"wd: file chosen", kWd, pszOldFile, {Click(IDC_WD_BROWSE, "/a b")}, kUrl,
            "bCheckFileRefresh=1;sFileRefresh=/a b;"},
        {"lpt: every field", kLpt, pszLpt, {}, kWait, pszLpt},
        {"lpt: no port picked", kLpt, "", {Pick(IDC_LPT_PORT, "0")}, kResetter,
            "iLptPort=0;iDataPort=0;iCtrlPort=0;"},
        {"lpt: LPT2 picked, re-dial off", kLpt, "", {Pick(IDC_LPT_PORT, "2"),
            Click(IDC_LPT_REESTABLISH)}, kWait,
            "iLptPort=2;iDataPort=632;iCtrlPort=634;bTryToReestablish=0;"},
        {"lpt: port back, re-dial still off: its line stays grey", kLpt, "",
            {Click(IDC_LPT_REESTABLISH), Pick(IDC_LPT_PORT, "0"), Pick(IDC_LPT_PORT, "3")},
            kWait, "iLptPort=3;iDataPort=956;iCtrlPort=958;bTryToReestablish=0;"},
        {"lpt: stored numbers clamped", kLpt,
            "iModemOffTime=0;iModemWaitTime=200;iDataPortMask=300;iCtrlPortMask=-5;", {}, {},
            "iModemOffTime=1;iModemWaitTime=90;iDataPortMask=-1;iCtrlPortMask=-1;"},
        {"lpt: typed numbers clamped", kLpt, "", {Type(IDC_LPT_OFF_TIME, "45"),
            Type(IDC_LPT_WAIT_TIME, "")}, {}, "iModemOffTime=30;iModemWaitTime=5;"},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszRow);
        EXPECT_EQ(Open(row.pszLoaded, row.nTab, row.actions).Disabled(), row.disabled);
        m_pDlg->OnOK();
        EXPECT_EQ(SettingsText(Live()), SettingsText(Stored(row.pszStored)));
    }
}

// Escape in a page is the dialog's Cancel.
TEST_F(ParamsDialogTest, OpensOnTheRememberedTabOrTheFirstAndCancelKeepsOnlyTheSelectedTab) {
    Open(""); // the program starts
    m_fakes.autorun.m_calls.clear();
    const int nCommits = m_fakes.profile.m_nCommits;
    for (const auto& [nStored, nShown] :
         {std::pair{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}, {INT_MIN, 0}}) {
        SCOPED_TRACE(testing::Message() << "stored tab " << nStored);
        Open("CurrentTab=" + std::to_string(nStored) + ";", kGen, {Click(IDC_GEN_AUTORUN)});
        EXPECT_EQ(m_pWindow->GetCurSel(), nShown);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(m_pWindow->m_shown[&TabPage(*m_pDlg, i)], i == nShown) << "tab " << i;
        Page(kWd).Type(IDC_WD_CONNECTION, "Other");
        ClickTab((nShown + 1) % 3);
        TabPage(*m_pDlg, kWd).OnCancel();
        EXPECT_EQ(m_pWindow->m_results, std::vector<int>{ID::Cancel});
        Close();
        EXPECT_EQ(SettingsText(Live()),
                  SettingsText(Stored("CurrentTab=" + std::to_string((nShown + 1) % 3) + ";")));
    }
    EXPECT_EQ(m_fakes.profile.m_nCommits, nCommits);
    EXPECT_TRUE(m_fakes.autorun.m_calls.empty());
}

// Enter in a page is the dialog's OK, also in a number field that was never left.
TEST_F(ParamsDialogTest, OKStoresEveryPageThenSavesThenAppliesTheNewValues) {
    Open("", kGen,
         {Click(IDC_GEN_AUTORUN), Pick(IDC_GEN_METHOD, "1"), Click(IDC_GEN_AUTO_SHUTDOWN)});
    m_fakes.timers.Advance(30000); // a quarter of the way through the check period
    m_fakes.autorun.m_calls.clear();
    const int nCommits = m_fakes.profile.m_nCommits;
    Page(kWd).Type(IDC_WD_CHECK_DELAY, "0");
    Page(kLpt).Choose(IDC_LPT_PORT, 3);
    ClickTab(2);
    TabPage(*m_pDlg, kLpt).OnOK();
    EXPECT_EQ(m_pWindow->m_results, std::vector<int>{ID::Ok});
    EXPECT_EQ(SettingsText(Live()),
              SettingsText(Stored("bAutoRun=1;iAutoRunMethod=1;bAutoShutdown=1;"
                                  "iCheckDelay=1;iLptPort=3;iDataPort=956;iCtrlPort=958;")));
    EXPECT_EQ(m_fakes.profile.m_nCommits, nCommits + 1);
    EXPECT_EQ(m_fakes.profile.Value("WatchDogging", "iCheckDelay"), "1");
    EXPECT_EQ(m_fakes.autorun.m_calls,
              (std::vector<std::string>{"remove 0", "add 1 /opt/tarnwick/bin/tarnwick"}));
    const SLocalTime due = m_fakes.clock.LocalTimeAt(m_app.GetShutdownDue());
    EXPECT_EQ(due.nHour * 60 + due.nMinute, 21 * 60);  // the next 21:00
    EXPECT_EQ(m_fakes.timers.DueIn(IDT_CHECK), 60000); // restarted, 1 minute
    Close();
    EXPECT_EQ(Live().CurrentTab, 2);
}

} // namespace

} // namespace tarnwick
