// The check cycle and the escalation from re-dial to power cycle to reboot.
#include "CEngineFixture.h"

#include "platform/IPowerService.h"

namespace {

class EscalationTest : public CEngineFixture {
protected:
    void SetUp() override {
        m_settings.sDefaultConnection = "Work";
        m_settings.bEstablishConnection = 0;
        // The line stays down: every re-dial fails.
        m_fakes.dialUp.m_entries = {"Work"};
        m_fakes.dialUp.m_failingEntries = {"Work"};
    }
    // What the failed cycle did: "redial", "power", "reboot" or "nothing".
    std::string FailOnce() {
        SetLinkUp(false);
        const std::size_t nCalls = m_fakes.dialUp.m_calls.size();
        const std::size_t nReboots = m_fakes.power.m_requests.size();
        const bool bOffBefore = m_fakes.timers.IsArmed(IDT_MODEM_POWER_OFF);
        RunCheck();
        if (m_fakes.power.m_requests.size() > nReboots)
            return "reboot";
        if (!bOffBefore && m_fakes.timers.IsArmed(IDT_MODEM_POWER_OFF))
            return "power";
        if (m_fakes.dialUp.m_calls.size() > nCalls)
            return "redial";
        return "nothing";
    }
};

TEST_F(EscalationTest, DefaultLimitRedialsTwiceThenPowerCyclesThenReboots) {
    Start();
    std::vector<std::string> steps;
    for (int i = 0; i < 5; ++i)
        steps.push_back(FailOnce());
    EXPECT_EQ(steps, (std::vector<std::string>{"redial", "redial", "power", "reboot", "reboot"}));
    EXPECT_EQ(m_fakes.power.m_requests, (std::vector<unsigned>{EWX_REBOOT, EWX_REBOOT}));
    EXPECT_EQ(App().m_nFaultCount, 5);
}

TEST_F(EscalationTest, LimitOfOnePowerCyclesAtOnceAndRebootsNext) {
    m_settings.iMaxFaults = 1;
    Start();
    EXPECT_EQ(FailOnce(), "power");
    EXPECT_EQ(FailOnce(), "reboot");
}

TEST_F(EscalationTest, WithoutResetterPortTheLimitCycleDoesNothing) {
    m_settings.iLptPort = 0;
    Start();
    std::vector<std::string> steps;
    for (int i = 0; i < 4; ++i)
        steps.push_back(FailOnce());
    EXPECT_EQ(steps, (std::vector<std::string>{"redial", "redial", "nothing", "reboot"}));
}

TEST_F(EscalationTest, PassingCycleStartsTheCountAgain) {
    Start();
    FailOnce();
    FailOnce();
    SetLinkUp(true);
    RunCheck();
    EXPECT_EQ(App().m_nFaultCount, 0);
    EXPECT_EQ(FailOnce(), "redial");
    EXPECT_EQ(App().m_nFaultCount, 1);
}

TEST_F(EscalationTest, RedialHangsUpALiveCurrentEntryBeforeDialling) {
    Start();
    // The check asks for "Work"; "Home" is up, so the check fails and Home becomes current.
    m_fakes.dialUp.m_connections.clear();
    m_fakes.dialUp.Connect("Home");
    m_fakes.dialUp.m_entries = {"Home", "Work"};
    RunCheck();
    EXPECT_EQ(m_fakes.dialUp.m_calls, (std::vector<std::string>{"hangup Home", "dial Home"}));
}

TEST_F(EscalationTest, RedialWithEmptyCurrentEntryHangsUpEverything) {
    m_settings.sDefaultConnection = "";
    m_settings.bCheckConnState = 0;
    m_settings.bCheckURLDownload = 1;
    m_settings.sURLDownload = "192.0.2.1";
    Start();
    m_fakes.dialUp.Connect("A");
    m_fakes.dialUp.Connect("B");
    RunCheck();
    EXPECT_EQ(m_fakes.dialUp.m_calls, (std::vector<std::string>{"hangup A", "hangup B"}));
    EXPECT_TRUE(m_fakes.dialUp.m_connections.empty());
}

TEST_F(EscalationTest, TickArrivingDuringACycleIsDropped) {
    Start();
    SetLinkUp(false);
    m_fakes.dialUp.m_entries = {"Work"};
    int nNested = 0;
    m_fakes.dialUp.m_fnDuringDial = [&] {
        ++nNested;
        RunCheck();
    };
    RunCheck();
    EXPECT_EQ(nNested, 1);
    EXPECT_EQ(App().m_nFaultCount, 1);
}

TEST_F(EscalationTest, CheckTimerFiresOncePerPeriod) {
    Start();
    ASSERT_EQ(m_fakes.timers.Period(IDT_CHECK), 2u * 60000u);
    int nCycles = 0;
    SetLinkUp(true);
    m_fakes.timers.Advance(10 * 60000);
    for (const auto& [nTime, nID] : m_fakes.timers.Fired())
        nCycles += nID == IDT_CHECK;
    EXPECT_EQ(nCycles, 5);
}

TEST_F(EscalationTest, NoCheckEnabledArmsNothingAndNeverEscalates) {
    m_settings.bCheckConnState = 0;
    Start();
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_CHECK));
    EXPECT_FALSE(App().SetupCheckTimer());
    EXPECT_EQ(App().m_nFaultCount, 0);
}

TEST_F(EscalationTest, StoredPeriodsAreClampedAndCannotOverflow) {
    struct {
        std::int32_t iCheckDelay;
        std::uint32_t nExpectedMs;
    } const cases[] = {
        {1, 60000},
        {0, 60000},
        {-5, 60000},
        {10000, 600000000u},
        {100000, 0x7FFFFFFFu},
        {INT32_MAX, 0x7FFFFFFFu},
    };
    Start();
    for (const auto& c : cases) {
        Settings().iCheckDelay = c.iCheckDelay;
        App().m_nFaultCount = 7;
        EXPECT_TRUE(App().SetupCheckTimer());
        EXPECT_EQ(m_fakes.timers.Period(IDT_CHECK), c.nExpectedMs) << c.iCheckDelay;
        EXPECT_EQ(App().m_nFaultCount, 0);
    }
}

TEST_F(EscalationTest, ProbeFailureFailsTheCycleAndAllChecksRun) {
    m_settings.bCheckURLDownload = 1;
    m_settings.sURLDownload = "http://example.test:81/index.html";
    Start();
    SetLinkUp(false);
    RunCheck();
    EXPECT_EQ(App().m_nFaultCount, 1);
    // The probe ran although the connection check had already failed.
    EXPECT_EQ(m_fakes.net.m_lookups, (std::vector<std::string>{"example.test"}));
}

TEST_F(EscalationTest, RebootRefusedIsAskedAgainNextCycle) {
    m_settings.iMaxFaults = 2;
    Start();
    m_fakes.power.m_bAccept = false;
    for (int i = 0; i < 4; ++i)
        FailOnce();
    EXPECT_EQ(m_fakes.power.m_requests.size(), 2u);
}

} // namespace
