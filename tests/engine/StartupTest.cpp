// Start-up: single instance, tray icon, modem power-on, the start-up connection, timers.
#include "CEngineFixture.h"

#include "platform/IPowerService.h"

namespace {

using StartupTest = CEngineFixture;

TEST_F(StartupTest, DefaultsArmTheCheckAndPowerTheModemOn) {
    Start();
    EXPECT_TRUE(m_fakes.shell.m_bIconShown);
    EXPECT_EQ(m_fakes.shell.m_lastData.strTip, "Tarnwick\nVersion 1.001");
    EXPECT_EQ(m_fakes.timers.Period(IDT_CHECK), 120000u);
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_SHUTDOWN));
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_TRAY_RETRY));
    EXPECT_EQ(m_fakes.modules.m_log,
              (std::vector<std::string>{"in 37a", "out 37a 4", "in 378", "out 378 0"}));
    EXPECT_FALSE(m_fakes.ui.m_bQuitPosted);
}

TEST_F(StartupTest, ActiveConnectionBecomesTheDefaultInMemoryOnly) {
    m_settings.sDefaultConnection = "Home";
    m_fakes.dialUp.Connect("Work");
    Start();
    EXPECT_EQ(Settings().sDefaultConnection, "Work");
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_DIAL));
    EXPECT_FALSE(m_fakes.profile.Has("WatchDogging", "sDefaultConnection"));
    App().ExitInstance();
    EXPECT_EQ(m_fakes.profile.Value("WatchDogging", "sDefaultConnection"), "Work");
}

TEST_F(StartupTest, WithoutConnectionTheDefaultIsDialledOnceAfterTwentySeconds) {
    m_settings.sDefaultConnection = "Work";
    m_fakes.dialUp.m_entries = {"Work"};
    Start();
    EXPECT_EQ(Frame().GetRasManager().GetCurrentEntry(), "Work");
    m_fakes.timers.Advance(19999);
    EXPECT_TRUE(m_fakes.dialUp.m_calls.empty());
    m_fakes.timers.Advance(1);
    EXPECT_EQ(m_fakes.dialUp.m_calls, (std::vector<std::string>{"dial Work"}));
    m_fakes.timers.Advance(60000);
    EXPECT_EQ(m_fakes.dialUp.m_calls.size(), 1u);
}

TEST_F(StartupTest, NoStartupDialWithoutNameOrWhenDisabled) {
    for (const auto& [strName, bEstablish] :
         {std::pair<std::string, int>{"", 1}, std::pair<std::string, int>{"Work", 0}}) {
        CFakeServices fakes;
        CTarnwickApp app(fakes.services);
        app.m_AppSettings.sDefaultConnection = strName;
        app.m_AppSettings.bEstablishConnection = bEstablish;
        app.InitInstance();
        EXPECT_FALSE(fakes.timers.IsArmed(IDT_DIAL)) << strName << bEstablish;
    }
}

TEST_F(StartupTest, SecondInstanceLeavesWithoutIconButStillPowersTheModem) {
    m_fakes.processes.m_processes = {{1, "systemd"}, {42, "TARNWICK"}, {100, "tarnwick"}};
    Start();
    EXPECT_TRUE(m_fakes.ui.m_bQuitPosted);
    EXPECT_TRUE(m_fakes.shell.m_calls.empty());
    EXPECT_FALSE(m_fakes.modules.m_log.empty());
}

TEST_F(StartupTest, RefusedTrayIsRetriedEveryFiveSeconds) {
    m_fakes.shell.m_bAccepts = false;
    Start();
    EXPECT_EQ(m_fakes.timers.Period(IDT_TRAY_RETRY), 5000u);
    m_fakes.timers.Advance(10000);
    EXPECT_EQ(m_fakes.shell.m_calls, (std::vector<std::string>{"add", "add", "add"}));
    m_fakes.shell.m_bAccepts = true;
    m_fakes.timers.Advance(5000);
    EXPECT_TRUE(m_fakes.shell.m_bIconShown);
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_TRAY_RETRY));
}

TEST_F(StartupTest, ExitSavesAllValuesAndRemovesTheIconWithoutTouchingLineOrPort) {
    Start();
    m_fakes.dialUp.Connect("Work");
    m_fakes.modules.m_log.clear();
    App().ExitInstance();
    EXPECT_EQ(m_fakes.profile.m_nCommits, 1);
    EXPECT_TRUE(m_fakes.profile.Has("LptResetter", "bMakeSureModemOn"));
    EXPECT_FALSE(m_fakes.shell.m_bIconShown);
    EXPECT_TRUE(m_fakes.dialUp.m_calls.empty());
    EXPECT_TRUE(m_fakes.modules.m_log.empty());
    EXPECT_FALSE(m_fakes.modules.m_bLoaded);
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_CHECK));
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
    EXPECT_EQ(m_fakes.power.m_requests, (std::vector<unsigned>{EWX_SHUTDOWN}));
    EXPECT_EQ(m_fakes.timers.Period(IDT_SHUTDOWN), 86400000u);

    // Switched off: the pending shutdown goes.
    Settings().bAutoShutdown = 0;
    EXPECT_FALSE(App().SetupShutdownTimer());
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_SHUTDOWN));
}

} // namespace
