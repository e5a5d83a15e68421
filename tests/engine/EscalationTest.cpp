// The check cycle and the escalation from re-dial to power cycle to reboot.
#include "CEngineFixture.h"

#include "platform/IPowerService.h"

#include <algorithm>

namespace tarnwick {

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
    // What one failed cycle did: "redial", "power", "reboot" or "nothing".
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
        return m_fakes.dialUp.m_calls.size() > nCalls ? "redial" : "nothing";
    }
};

TEST_F(EscalationTest, StepsFollowTheFaultLimitAndThePort) {
    struct {
        const char* pszRow;
        int iMaxFaults;
        int iLptPort;
        std::vector<std::string> steps;
    } const rows[] = {
        {"limit 3", 3, 1, {"redial", "redial", "power", "reboot", "reboot"}},
        {"limit 1", 1, 1, {"power", "reboot"}},
        {"hand-edited limit 0, used as 1", 0, 1, {"power", "reboot"}},
        {"negative limit", -3, 1, {"power", "reboot"}},
        {"no port: no power cycle", 3, 0, {"redial", "redial", "nothing", "reboot"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszRow);
        m_settings.iMaxFaults = row.iMaxFaults;
        m_settings.iLptPort = row.iLptPort;
        m_fakes.power.m_requests.clear();
        Start();
        std::vector<std::string> steps;
        for (std::size_t i = 0; i < row.steps.size(); ++i)
            steps.push_back(FailOnce());
        EXPECT_EQ(steps, row.steps);
        const auto nReboots = std::count(row.steps.begin(), row.steps.end(), "reboot");
        EXPECT_EQ(m_fakes.power.m_requests,
                  std::vector<unsigned>(static_cast<std::size_t>(nReboots), EWX::Reboot));
        m_pApp.reset();
    }
}

// A quit request that arrives while the checks run (a signal during the probe) makes them
// fail; that failure escalates nothing, not even past the limit.
TEST_F(EscalationTest, CycleCutShortByAQuitRequestActsOnNothing) {
    m_settings.iMaxFaults = 1;
    Start();
    EXPECT_EQ(FailOnce(), "power");
    m_fakes.ui.m_bQuitRequested = true;
    EXPECT_EQ(FailOnce(), "nothing");
    EXPECT_TRUE(m_fakes.power.m_requests.empty());
}

TEST_F(EscalationTest, RedialHangsUpWhatIsUpBeforeDialling) {
    Start();
    // "Home" is up while the check wants "Work": the listing makes Home current.
    SetLinkUp(false);
    m_fakes.dialUp.Connect("Home");
    m_fakes.dialUp.m_entries = {"Home", "Work"};
    RunCheck();
    EXPECT_EQ(m_fakes.dialUp.m_calls, (std::vector<std::string>{"hangup Home", "dial Home"}));

    // An empty current entry matches every connection: all are hung up.
    Frame().GetRasManager().SetCurrentEntry("");
    Settings().bCheckConnState = 0;
    Settings().bCheckURLDownload = 1;
    Settings().sURLDownload = "192.0.2.1";
    m_fakes.dialUp.m_calls.clear();
    m_fakes.dialUp.m_connections.clear();
    m_fakes.dialUp.Connect("A");
    m_fakes.dialUp.Connect("B");
    RunCheck();
    EXPECT_EQ(m_fakes.dialUp.m_calls, (std::vector<std::string>{"hangup A", "hangup B"}));
}

TEST_F(EscalationTest, TickDuringACycleIsDroppedAndAPassStartsTheCountAgain) {
    Start();
    SetLinkUp(false);
    int nNested = 0;
    m_fakes.dialUp.m_fnDuringDial = [&] {
        ++nNested;
        RunCheck();
    };
    RunCheck();
    EXPECT_EQ(nNested, 1);
    EXPECT_EQ(Frame().GetFaultCount(), 1);
    // A passing cycle starts the count again: the next failure re-dials, not power-cycles.
    m_fakes.dialUp.m_fnDuringDial = nullptr;
    FailOnce();
    SetLinkUp(true);
    RunCheck();
    EXPECT_EQ(Frame().GetFaultCount(), 0);
    EXPECT_EQ(FailOnce(), "redial");
}

TEST_F(EscalationTest, CheckTimerFromSettings) {
    m_settings.bCheckConnState = 0;
    Start();
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_CHECK)); // no check enabled

    // Stored periods below the minimum or beyond what a timer holds cannot misfire.
    Settings().bCheckFileRefresh = 1;
    const std::pair<int, std::uint32_t> periods[] = {
        {2, 120000u},        {0, 60000u},           {-5, 60000u},
        {10000, 600000000u}, {100000, 0x7FFFFFFFu}, {INT32_MAX, 0x7FFFFFFFu}};
    for (const auto& [iCheckDelay, nExpectedMs] : periods) {
        SCOPED_TRACE(iCheckDelay);
        Settings().iCheckDelay = iCheckDelay;
        FailOnce();
        EXPECT_TRUE(App().SetupCheckTimer());
        EXPECT_EQ(m_fakes.timers.Period(IDT_CHECK), nExpectedMs);
        EXPECT_EQ(Frame().GetFaultCount(), 0);
    }
}

} // namespace

} // namespace tarnwick
