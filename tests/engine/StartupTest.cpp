// Start-up: single instance, tray icon, modem power-on, the start-up connection, timers.
#include "CEngineFixture.h"

#include "platform/IPowerService.h"

namespace tarnwick {

namespace {

using StartupTest = CEngineFixture;

// Only a dial-up link is adopted; a LAN beside it (or alone) is not, and the default stays.
// The profile gets the default at exit, which touches neither the line nor the port.
TEST_F(StartupTest, StartAdoptsOnlyADialUpConnectionAndExitStoresIt) {
    const struct {
        const char* pszRow;
        std::vector<std::pair<std::string, bool>> up; // entry, of a dial-up kind
        std::string strDefault;
        bool bDialArmed;
    } rows[] = {
        {"lan only", {{"Office LAN", false}}, "Home", true},
        {"lan and modem",
         {{"Office LAN", false}, {"Modem", true}, {"Wi-Fi", false}},
         "Modem",
         false},
        {"modem only", {{"Modem", true}}, "Modem", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszRow);
        m_fakes.profile = {};
        m_fakes.dialUp.m_connections.clear();
        m_settings.sDefaultConnection = "Home";
        for (const auto& [strEntry, bDialUp] : row.up)
            m_fakes.dialUp.Connect(strEntry, true, bDialUp);
        Start();
        EXPECT_EQ(Settings().sDefaultConnection, row.strDefault);
        EXPECT_EQ(Frame().GetRasManager().GetCurrentEntry(), row.strDefault);
        EXPECT_EQ(m_fakes.timers.IsArmed(IDT_DIAL), row.bDialArmed);
        EXPECT_FALSE(m_fakes.profile.Has("WatchDogging", "sDefaultConnection"));
        m_fakes.dialUp.m_calls.clear();
        m_fakes.modules.m_log.clear();
        App().ExitInstance();
        EXPECT_EQ(m_fakes.profile.Value("WatchDogging", "sDefaultConnection"), row.strDefault);
        EXPECT_TRUE(m_fakes.dialUp.m_calls.empty() && m_fakes.modules.m_log.empty());
        EXPECT_FALSE(m_fakes.shell.m_bIconShown);
        m_pApp.reset();
    }
}

TEST_F(StartupTest, StartupDialOnceAfterTwentySecondsOnlyWithANameAndTheOption) {
    const struct {
        const char* pszRow;
        const char* pszName;
        int bEstablish;
        bool bDials;
    } rows[] = {{"name and option", "Work", 1, true},
                {"no name", "", 1, false},
                {"option off", "Work", 0, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszRow);
        m_settings.sDefaultConnection = row.pszName;
        m_settings.bEstablishConnection = row.bEstablish;
        m_fakes.dialUp.m_entries = {"Work"};
        m_fakes.dialUp.m_calls.clear();
        m_fakes.dialUp.m_connections.clear();
        Start();
        m_fakes.timers.Advance(19999);
        EXPECT_TRUE(m_fakes.dialUp.m_calls.empty());
        m_fakes.timers.Advance(60001);
        EXPECT_EQ(m_fakes.dialUp.m_calls.size(), row.bDials ? 1u : 0u);
        m_pApp.reset();
    }
}

TEST_F(StartupTest, SecondInstanceLeavesWithoutIconButStillPowersTheModemThenSaysWhy) {
    m_fakes.processes.m_eLock = EInstanceLock::HeldByOther;
    m_fakes.processes.m_nLockHolder = 42;
    Start();
    EXPECT_TRUE(m_fakes.ui.m_bQuitPosted);
    EXPECT_TRUE(m_fakes.shell.m_calls.empty());
    EXPECT_FALSE(m_fakes.modules.m_log.empty());
    EXPECT_TRUE(m_fakes.ui.m_told.empty()) << "only once start-up is done";
    m_fakes.ui.RunPosted();
    EXPECT_EQ(m_fakes.ui.m_told, std::vector<std::string>{"Tarnwick is already running"});
}

// A refused icon is added again every 5 s where a tray can appear; headless, never again.
TEST_F(StartupTest, RefusedTrayIsRetriedOnlyWhereATrayCanAppear) {
    for (const bool bCanAppear : {true, false}) {
        SCOPED_TRACE(bCanAppear ? "tray can appear" : "headless");
        m_fakes.shell.m_calls.clear();
        m_fakes.shell.m_bAccepts = false;
        m_fakes.shell.m_bCanAppear = bCanAppear;
        Start();
        m_fakes.timers.Advance(10000);
        EXPECT_EQ(m_fakes.shell.m_calls.size(), bCanAppear ? 3u : 1u);
        m_fakes.shell.m_bAccepts = true;
        m_fakes.timers.Advance(5000);
        EXPECT_EQ(m_fakes.shell.m_bIconShown, bCanAppear);
        EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_TRAY_RETRY));
        m_pApp.reset();
    }
}

// The daily shutdown comes at the set local time whatever the clock did in between: a
// daylight-saving change, a clock set forward, a refused shutdown the day before.
TEST_F(StartupTest, DailyShutdownAtTheSetLocalTime) {
    struct {
        const char* pszName;
        int nChangeAfterMin; // minutes after start of a change of the local time (0: none)
        int nChangeBy;       // seconds: a daylight-saving change, or a clock set forward
        bool bStep;          // the wall clock itself steps (else only the offset to UTC)
        int nExpectMin;      // whole minutes from start (07:00:10) to the shutdown request
    } const cases[] = {
        {"plain day", 0, 0, false, 29},
        {"summer time starts", 10, 3600, false, 29 - 60 + 24 * 60},
        {"winter time starts", 10, -3600, false, 89},
        {"clock set forward 10 min", 5, 600, true, 19},
    };
    m_fakes.power.m_bAccept = false;
    m_settings.bCheckConnState = 0;
    m_settings.bAutoShutdown = 1;
    m_settings.sShutdownTime = "07:30";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_fakes.power.m_requests.clear();
        m_fakes.clock.m_nChangeAt = 0;
        m_fakes.clock.SetLocal(7, 0, 10);
        Start();
        m_fakes.clock.m_nChangeAt =
            m_fakes.clock.GetWallTime() + std::int64_t{c.nChangeAfterMin} * 60;
        m_fakes.clock.m_nChangeBy = c.bStep ? 0 : c.nChangeBy;
        int nSeconds = 0;
        for (; m_fakes.power.m_requests.empty() && nSeconds < 2 * 86400; ++nSeconds) {
            if (c.bStep && nSeconds == c.nChangeAfterMin * 60)
                m_fakes.clock.m_nWallAtZero += c.nChangeBy;
            m_fakes.timers.Advance(1000);
        }
        EXPECT_EQ(nSeconds / 60, c.nExpectMin);
        const SLocalTime at = m_fakes.clock.GetLocalTime();
        EXPECT_EQ(at.nHour * 60 + at.nMinute, 7 * 60 + 30);
        // Refused: the next request a local day later, at the same time.
        m_fakes.timers.Advance(86400u * 1000u - 60000u);
        EXPECT_EQ(m_fakes.power.m_requests.size(), 1u);
        m_fakes.timers.Advance(120000u);
        EXPECT_EQ(m_fakes.power.m_requests, (std::vector<unsigned>{EWX::Shutdown, EWX::Shutdown}));
        m_pApp.reset();
    }
    // Switched off: the pending shutdown goes.
    Start();
    Settings().bAutoShutdown = 0;
    EXPECT_FALSE(App().SetupShutdownTimer());
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_SHUTDOWN));
}

} // namespace

} // namespace tarnwick
