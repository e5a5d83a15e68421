// The dial-up service on NetworkManager, through CRasManager as the engine uses it, against
// python3-dbusmock's NetworkManager on a private system bus.
#include "CNmMock.h"
#include "CTestSandbox.h"

#include "platform/CRasManager.h"
#include "platform/linux/CNmDialUpService.h"

#include <gtest/gtest.h>

#include <QDBusObjectPath>

namespace tarnwick {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Names = std::vector<std::string>;

namespace {
class NmDialUpServiceTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_sandbox.IsReady()) << m_sandbox.Error().toStdString();
        ASSERT_TRUE(m_mock.Reset());
    }

    QString Connected(const QString& strId) { return m_mock.Activate(m_mock.AddProfile(strId)); }

    CTestSandbox m_sandbox;
    CNmMock m_mock{m_sandbox.SystemBus()};
    CNmDialUpService m_service{m_sandbox.SystemBus(), 3s, 1s};
    CRasManager m_ras{m_service};
};

TEST_F(NmDialUpServiceTest, PhoneBookListsEveryReadableProfileInOrderWithoutLoopback) {
    Names expected;
    for (int i = 0; i < 23; ++i) {
        expected.push_back("Entry " + std::to_string(i));
        m_mock.AddProfile(QString::fromStdString(expected.back()));
    }
    m_mock.AddProfile("lo", "loopback");
    ASSERT_TRUE(m_mock.BreakProfile(m_mock.AddProfile("Secret")));
    // A name with the separator in it stays one entry in the list the menu uses.
    m_mock.AddProfile("Dial|Up");
    expected.push_back("Dial|Up");
    EXPECT_EQ(m_ras.EnumEntryNames(), expected);
}

TEST_F(NmDialUpServiceTest, MatchesDialsAndHangsUpByNameWithoutRegardToCase) {
    m_mock.Activate(m_mock.AddProfile("lo", "loopback"));
    m_ras.SetCurrentEntry("Previous");
    EXPECT_FALSE(m_ras.IsConnected("")) << "the loopback connection is no connection";
    EXPECT_EQ(m_ras.GetCurrentEntry(), "Previous");

    m_mock.AddProfile("Cable");
    ASSERT_TRUE(m_mock.ScriptActivation(CNmMock::EOutcome::StaysActivating));
    Connected("Work");
    EXPECT_TRUE(m_ras.IsConnected("work")) << "activating counts";
    EXPECT_EQ(m_ras.GetCurrentEntry(), "Work");
    m_ras.SetCurrentEntry("Previous");
    EXPECT_FALSE(m_ras.IsConnected("Home"));
    EXPECT_EQ(m_ras.GetCurrentEntry(), "Work") << "set even though it did not match";
    // Two connections: an empty name matches any, and the last listed is the current one.
    Connected("Home");
    EXPECT_TRUE(m_ras.IsConnected(""));
    EXPECT_EQ(m_ras.GetCurrentEntry(), "Home");

    EXPECT_TRUE(m_ras.Dial("WORK")) << "already active";
    EXPECT_FALSE(m_ras.Dial("Office")) << "no such profile";
    EXPECT_EQ(m_mock.ManagerCalls("ActivateConnection").size(), 3u) << "the test's own only";
    EXPECT_FALSE(m_ras.HangUp("Office"));
    EXPECT_TRUE(m_ras.IsConnected("Work") && m_ras.IsConnected("Home"));
    EXPECT_TRUE(m_ras.HangUp(""));
    EXPECT_EQ(m_mock.ManagerCalls("DeactivateConnection").size(), 2u);
    EXPECT_FALSE(m_ras.IsConnected(""));
    EXPECT_FALSE(m_ras.HangUp("")) << "nothing left to hang up";
}

// A dial waits for the outcome; every way it can fail ends with false and nothing active.
TEST_F(NmDialUpServiceTest, DialEndsConnectedOrWithNothingActive) {
    using EOutcome = CNmMock::EOutcome;
    const struct {
        EOutcome outcome;
        int nDelayMs; // when the scripted activation ends
        int nWaitMs;  // the least time the dial takes (its bound is 3 s, a call's 1 s)
        bool bConnected;
    } dials[] = {
        {EOutcome::Activated, 400, 400, true},     {EOutcome::Deactivated, 300, 300, false},
        {EOutcome::Vanished, 300, 300, false},     {EOutcome::Refused, 0, 0, false},
        {EOutcome::LateAnswer, 1500, 1000, false}, {EOutcome::StaysActivating, 0, 3000, false}};
    for (const auto& dial : dials) {
        SCOPED_TRACE(static_cast<int>(dial.outcome));
        ASSERT_TRUE(m_mock.Reset());
        const QString strProfile = m_mock.AddProfile("Modem");
        ASSERT_TRUE(m_mock.ScriptActivation(dial.outcome, dial.nDelayMs));
        const auto start = Clock::now();
        EXPECT_EQ(m_ras.Dial("modem"), dial.bConnected);
        EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(dial.nWaitMs));
        EXPECT_LT(Clock::now() - start, 4500ms);
        const auto calls = m_mock.ManagerCalls("ActivateConnection");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].at(0).value<QDBusObjectPath>().path(), strProfile);
        // The stand-in keeps a failed connection listed unless the dial deactivates it.
        EXPECT_EQ(m_ras.IsConnected(""), dial.bConnected);
    }
}

TEST_F(NmDialUpServiceTest, AbsentOrHangingServiceGivesSilentResultsAtOnce) {
    Connected("Modem");
    CNmDialUpService service(m_sandbox.SystemBus(), 3s, 300ms);
    CRasManager ras(service);
    m_sandbox.PauseStandIn("networkmanager", true);
    auto start = Clock::now();
    EXPECT_FALSE(ras.IsConnected("Modem"));
    EXPECT_FALSE(ras.Dial("Modem"));
    EXPECT_LT(Clock::now() - start, 2s) << "a hanging service costs one call bound per query";
    m_sandbox.PauseStandIn("networkmanager", false);

    m_sandbox.StopStandIn("networkmanager");
    start = Clock::now();
    EXPECT_FALSE(m_ras.IsConnected(""));
    EXPECT_FALSE(m_ras.HangUp(""));
    EXPECT_FALSE(m_ras.Dial("Modem"));
    EXPECT_TRUE(m_ras.EnumEntryNames().empty());
    EXPECT_LT(Clock::now() - start, 1s) << "an absent service answers at once";

    // Back after a restart.
    ASSERT_TRUE(m_sandbox.StartStandIn("networkmanager"));
    Connected("Modem");
    EXPECT_TRUE(m_ras.IsConnected("Modem"));
    EXPECT_EQ(m_ras.EnumEntryNames(), Names{"Modem"});
}
} // namespace

} // namespace tarnwick
