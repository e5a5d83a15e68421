// Start-up: single instance, tray icon, modem power-on, the start-up connection, timers.
#include "CEngineFixture.h"

#include "platform/IPowerService.h"

namespace tarnwick {

namespace {

using StartupTest = CEngineFixture;

TEST_F(StartupTest, DefaultsShowTheIconArmTheCheckAndPowerTheModemOn) {
    Start();
    EXPECT_EQ(m_fakes.shell.m_lastData.strTip, "Tarnwick\nVersion 1.001");
    EXPECT_EQ(m_fakes.timers.Period(IDT_CHECK), 120000u);
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_SHUTDOWN));
    EXPECT_EQ(m_fakes.modules.m_log,
              (std::vector<std::string>{"in 37a", "out 37a 4", "in 378", "out 378 0"}));
    EXPECT_FALSE(m_fakes.ui.m_bQuitPosted);
}

TEST_F(StartupTest, ActiveConnectionBecomesTheDefaultAndReachesTheProfileOnExit) {
    m_settings.sDefaultConnection = "Home";
    m_fakes.dialUp.Connect("Work");
    Start();
    EXPECT_EQ(Settings().sDefaultConnection, "Work");
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_DIAL));
    EXPECT_FALSE(m_fakes.profile.Has("WatchDogging", "sDefaultConnection"));
    m_fakes.modules.m_log.clear();
    App().ExitInstance();
    EXPECT_EQ(m_fakes.profile.Value("WatchDogging", "sDefaultConnection"), "Work");
    // Exit touches neither the line nor the port, and removes the icon.
    EXPECT_TRUE(m_fakes.dialUp.m_calls.empty());
    EXPECT_TRUE(m_fakes.modules.m_log.empty());
    EXPECT_FALSE(m_fakes.shell.m_bIconShown);
}

TEST_F(StartupTest, StartupDialOnceAfterTwentySecondsOnlyWithANameAndTheOption) {
    struct {
        const char* pszName;
        int bEstablish;
        bool bDials;
    } const cases[] = {{"Work", 1, true}, {"", 1, false}, {"Work", 0, false}};
    for (const auto& c : cases) {
        m_settings.sDefaultConnection = c.pszName;
        m_settings.bEstablishConnection = c.bEstablish;
        m_fakes.dialUp.m_entries = {"Work"};
        m_fakes.dialUp.m_calls.clear();
        m_fakes.dialUp.m_connections.clear();
        Start();
        m_fakes.timers.Advance(19999);
        EXPECT_TRUE(m_fakes.dialUp.m_calls.empty());
        m_fakes.timers.Advance(60001);
        EXPECT_EQ(m_fakes.dialUp.m_calls.size(), c.bDials ? 1u : 0u) << c.pszName << c.bEstablish;
        m_pApp.reset();
    }
}

TEST_F(StartupTest, SecondInstanceLeavesWithoutIconButStillPowersTheModemThenSaysWhy) {
    m_fakes.processes.m_processes = {{1, "systemd"}, {42, "TARNWICK"}, {100, "tarnwick"}};
    Start();
    EXPECT_TRUE(m_fakes.ui.m_bQuitPosted);
    EXPECT_TRUE(m_fakes.shell.m_calls.empty());
    EXPECT_FALSE(m_fakes.modules.m_log.empty());
    EXPECT_TRUE(m_fakes.ui.m_told.empty()) << "only once start-up is done";
    m_fakes.ui.RunPosted();
    EXPECT_EQ(m_fakes.ui.m_told, std::vector<std::string>{"Tarnwick is already running"});
}

TEST_F(StartupTest, RefusedTrayIsRetriedEveryFiveSeconds) {
    m_fakes.shell.m_bAccepts = false;
    Start();
    m_fakes.timers.Advance(10000);
    EXPECT_EQ(m_fakes.shell.m_calls, (std::vector<std::string>{"add", "add", "add"}));
    m_fakes.shell.m_bAccepts = true;
    m_fakes.timers.Advance(5000);
    EXPECT_TRUE(m_fakes.shell.m_bIconShown);
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_TRAY_RETRY));
}

TEST_F(StartupTest, ShutdownTimerFollowsTheTimeOfDay) {
    m_settings.bCheckConnState = 0;
    m_settings.bAutoShutdown = 1;
    m_settings.sShutdownTime = "07:30";
    m_fakes.clock.m_now = {7, 0, 10};
    Start();
    EXPECT_EQ(m_fakes.timers.Period(IDT_SHUTDOWN), 30u * 60000u);

    // Refused: asked again a day later.
    m_fakes.power.m_bAccept = false;
    m_fakes.timers.Advance(30u * 60000u);
    EXPECT_EQ(m_fakes.power.m_requests, (std::vector<unsigned>{EWX::Shutdown}));
    EXPECT_EQ(m_fakes.timers.Period(IDT_SHUTDOWN), 86400000u);

    // Switched off: the pending shutdown goes.
    Settings().bAutoShutdown = 0;
    EXPECT_FALSE(App().SetupShutdownTimer());
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_SHUTDOWN));
}

} // namespace

} // namespace tarnwick
