// The dial-up service on NetworkManager, through CRasManager as the engine uses it, against
// python3-dbusmock's NetworkManager on a private system bus.
#include "CNmMock.h"
#include "CTestSandbox.h"

#include "platform/CRasManager.h"
#include "platform/linux/CNmDialUpService.h"

#include <gtest/gtest.h>

#include <QDBusObjectPath>

#include <memory>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {
class NmDialUpServiceTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_pSandbox = std::make_unique<CTestSandbox>(); }
    static void TearDownTestSuite() { s_pSandbox.reset(); }

    void SetUp() override {
        ASSERT_TRUE(s_pSandbox->IsReady()) << s_pSandbox->Error().toStdString();
        m_pMock = std::make_unique<CNmMock>(s_pSandbox->SystemBus());
        ASSERT_TRUE(m_pMock->Reset());
        m_strDevice = m_pMock->AddDevice();
        ASSERT_FALSE(m_strDevice.isEmpty());
        ASSERT_TRUE(m_pMock->ClearCalls());
        m_pService = std::make_unique<CNmDialUpService>(s_pSandbox->SystemBus(), 3s, 1s);
        m_pRas = std::make_unique<CRasManager>(*m_pService);
    }

    QString Connected(const QString& strId) {
        const QString strProfile = m_pMock->AddProfile(strId);
        return m_pMock->Activate(strProfile);
    }
    std::size_t Calls(const char* pszMethod) { return m_pMock->ManagerCalls(pszMethod).size(); }

    static std::unique_ptr<CTestSandbox> s_pSandbox;
    std::unique_ptr<CNmMock> m_pMock;
    std::unique_ptr<CNmDialUpService> m_pService;
    std::unique_ptr<CRasManager> m_pRas;
    QString m_strDevice;
};
std::unique_ptr<CTestSandbox> NmDialUpServiceTest::s_pSandbox;

TEST_F(NmDialUpServiceTest, PhoneBookListsProfilesInOrderWithoutLoopback) {
    m_pMock->AddProfile("Work");
    m_pMock->AddProfile("lo", "loopback");
    m_pMock->AddProfile("Home");
    // A name with the separator in it stays one entry in the list the menu uses.
    m_pMock->AddProfile("Dial|Up");
    EXPECT_EQ(m_pRas->EnumEntryNames(), (std::vector<std::string>{"Work", "Home", "Dial|Up"}));
    EXPECT_EQ(m_pRas->EnumEntries(), "Work|Home|Dial|Up");
}

TEST_F(NmDialUpServiceTest, PhoneBookHasNoLimitOfTwentyEntries) {
    std::vector<std::string> expected;
    for (int i = 0; i < 25; ++i) {
        expected.push_back("Entry " + std::to_string(i));
        m_pMock->AddProfile(QString::fromStdString(expected.back()));
    }
    EXPECT_EQ(m_pRas->EnumEntryNames(), expected);
}

TEST_F(NmDialUpServiceTest, UnreadableProfileIsLeftOutOfThePhoneBook) {
    m_pMock->AddProfile("Work");
    ASSERT_TRUE(m_pMock->BreakProfile(m_pMock->AddProfile("Secret")));
    m_pMock->AddProfile("Home");
    EXPECT_EQ(m_pRas->EnumEntryNames(), (std::vector<std::string>{"Work", "Home"}));
}

TEST_F(NmDialUpServiceTest, IsConnectedMatchesWithoutRegardToCaseAndRefreshesCurrentEntry) {
    m_pRas->SetCurrentEntry("Previous");
    EXPECT_FALSE(m_pRas->IsConnected("Work")) << "no active connection";
    EXPECT_EQ(m_pRas->GetCurrentEntry(), "Previous");

    ASSERT_FALSE(Connected("Work").isEmpty());
    EXPECT_TRUE(m_pRas->IsConnected("work"));
    EXPECT_EQ(m_pRas->GetCurrentEntry(), "Work");
    m_pRas->SetCurrentEntry("Previous");
    EXPECT_FALSE(m_pRas->IsConnected("Home"));
    EXPECT_EQ(m_pRas->GetCurrentEntry(), "Work") << "set even though it did not match";
}

TEST_F(NmDialUpServiceTest, EmptyNameMatchesAnyConnectionAndTheLastListedIsCurrent) {
    Connected("Work");
    Connected("Home");
    EXPECT_TRUE(m_pRas->IsConnected(""));
    EXPECT_EQ(m_pRas->GetCurrentEntry(), "Home");
}

TEST_F(NmDialUpServiceTest, LoopbackConnectionIsNoConnection) {
    m_pMock->Activate(m_pMock->AddProfile("lo", "loopback"));
    EXPECT_FALSE(m_pRas->IsConnected(""));
    EXPECT_EQ(m_pRas->GetCurrentEntry(), "");
}

TEST_F(NmDialUpServiceTest, ActivatingConnectionCountsAsConnected) {
    const QString strActive = Connected("Modem");
    ASSERT_TRUE(m_pMock->SetActiveState(strActive, CNmMock::Activating));
    EXPECT_TRUE(m_pRas->IsConnected("Modem"));
}

TEST_F(NmDialUpServiceTest, HangUpDeactivatesEveryMatchingConnection) {
    EXPECT_FALSE(m_pRas->HangUp("")) << "nothing to hang up";
    const QString strWork = Connected("Work");
    const QString strHome = Connected("Home");
    EXPECT_FALSE(m_pRas->HangUp("Office"));
    EXPECT_EQ(m_pMock->ActiveConnections().size(), 2);
    EXPECT_TRUE(m_pRas->HangUp(""));
    const auto calls = m_pMock->ManagerCalls("DeactivateConnection");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].at(0).value<QDBusObjectPath>().path(), strWork);
    EXPECT_EQ(calls[1].at(0).value<QDBusObjectPath>().path(), strHome);
    EXPECT_TRUE(m_pMock->ActiveConnections().isEmpty());
}

TEST_F(NmDialUpServiceTest, DialOfActiveEntryDialsNothing) {
    Connected("Modem");
    m_pMock->ClearCalls();
    EXPECT_TRUE(m_pRas->Dial("modem"));
    EXPECT_EQ(Calls("ActivateConnection"), 0u);
}

TEST_F(NmDialUpServiceTest, DialOfUnknownNameDialsNothing) {
    m_pMock->AddProfile("Modem");
    EXPECT_FALSE(m_pRas->Dial("Cable"));
    EXPECT_EQ(Calls("ActivateConnection"), 0u);
}

TEST_F(NmDialUpServiceTest, DialWaitsUntilTheConnectionIsActivated) {
    const QString strProfile = m_pMock->AddProfile("Modem");
    ASSERT_TRUE(m_pMock->ScriptActivation(CNmMock::EOutcome::Activated, 400));
    const auto start = Clock::now();
    EXPECT_TRUE(m_pRas->Dial("MODEM"));
    EXPECT_GE(Clock::now() - start, 400ms);
    const auto calls = m_pMock->ManagerCalls("ActivateConnection");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].at(0).value<QDBusObjectPath>().path(), strProfile);
    EXPECT_EQ(calls[0].at(1).value<QDBusObjectPath>().path(), "/");
    EXPECT_EQ(Calls("DeactivateConnection"), 0u);
    EXPECT_TRUE(m_pRas->IsConnected("Modem"));
}

// Every way a dial can fail ends with false and nothing left active.
struct SFailedDial {
    const char* pszName;
    CNmMock::EOutcome outcome;
    int nDelayMs;
};

void PrintTo(const SFailedDial& dial, std::ostream* pOut) {
    *pOut << dial.pszName;
}

class NmFailedDialTest : public NmDialUpServiceTest,
                         public testing::WithParamInterface<SFailedDial> {};

TEST_P(NmFailedDialTest, DialFailsAndLeavesNothingActive) {
    m_pMock->AddProfile("Modem");
    ASSERT_TRUE(m_pMock->ScriptActivation(GetParam().outcome, GetParam().nDelayMs));
    const auto start = Clock::now();
    EXPECT_FALSE(m_pRas->Dial("Modem"));
    // The dial bound of this service is 3 s; a call may take up to 1 s more.
    EXPECT_LT(Clock::now() - start, 4500ms);
    // What the dial started is deactivated (the stand-in keeps a failed connection listed).
    EXPECT_TRUE(m_pMock->ActiveConnections().isEmpty());
    EXPECT_FALSE(m_pRas->IsConnected("Modem"));
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, NmFailedDialTest,
    testing::Values(SFailedDial{"Deactivated", CNmMock::EOutcome::Deactivated, 300},
                    SFailedDial{"Vanished", CNmMock::EOutcome::Vanished, 300},
                    SFailedDial{"Refused", CNmMock::EOutcome::Refused, 0},
                    // Longer than the service's 1 s call timeout.
                    SFailedDial{"Unanswered", CNmMock::EOutcome::LateAnswer, 1500},
                    SFailedDial{"TimedOut", CNmMock::EOutcome::StaysActivating, 0}),
    [](const testing::TestParamInfo<SFailedDial>& param) { return param.param.pszName; });

TEST_F(NmDialUpServiceTest, AbsentServiceGivesSilentResultsAndRecoversWhenBack) {
    Connected("Modem");
    s_pSandbox->StopNetworkManager();
    m_pRas->SetCurrentEntry("Modem");
    const auto start = Clock::now();
    EXPECT_FALSE(m_pRas->IsConnected(""));
    EXPECT_FALSE(m_pRas->HangUp(""));
    EXPECT_FALSE(m_pRas->Dial("Modem"));
    EXPECT_TRUE(m_pRas->EnumEntryNames().empty());
    EXPECT_LT(Clock::now() - start, 1s) << "an absent service answers at once";
    EXPECT_EQ(m_pRas->GetCurrentEntry(), "Modem");

    ASSERT_TRUE(s_pSandbox->StartNetworkManager());
    CNmMock mock(s_pSandbox->SystemBus());
    mock.Activate(mock.AddProfile("Modem"));
    EXPECT_TRUE(m_pRas->IsConnected("Modem"));
    EXPECT_EQ(m_pRas->EnumEntryNames(), std::vector<std::string>{"Modem"});
}

TEST_F(NmDialUpServiceTest, HangingServiceCostsOneCallTimeoutPerQuery) {
    m_pMock->AddProfile("Modem");
    CNmDialUpService service(s_pSandbox->SystemBus(), 3s, 300ms);
    CRasManager ras(service);
    s_pSandbox->PauseNetworkManager(true);
    auto start = Clock::now();
    EXPECT_FALSE(ras.IsConnected("Modem"));
    EXPECT_LT(Clock::now() - start, 1s);
    start = Clock::now();
    EXPECT_FALSE(ras.Dial("Modem"));
    EXPECT_LT(Clock::now() - start, 1500ms);
    s_pSandbox->PauseNetworkManager(false);
    EXPECT_EQ(ras.EnumEntryNames(), std::vector<std::string>{"Modem"});
}
} // namespace
