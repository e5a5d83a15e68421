// The dial-up service on NetworkManager, through CRasManager as the engine uses it, against
// python3-dbusmock's NetworkManager on a private system bus.
#include "CNmMock.h"
#include "CTestSandbox.h"
#include "MockCalls.h"

#include "platform/CRasManager.h"
#include "platform/ILog.h"
#include "platform/linux/CNmDialUpService.h"
#include "platform/linux/CSystemBus.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusMetaType>
#include <QDBusObjectPath>

#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>

namespace tarnwick {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Names = std::vector<std::string>;

namespace {
class CLines : public ILog {
public:
    void Write(LogLevel, const std::string& strStep, const std::string& strText) override {
        m_strAll += strStep + ": " + strText + "\n";
    }
    std::string m_strAll;
};

class NmDialUpServiceTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_sandbox.IsReady()) << m_sandbox.Error().toStdString();
        ASSERT_TRUE(m_mock.Reset());
        ASSERT_GE(m_abort.fd, 0);
    }

    QString Connected(QAnyStringView strId) {
        QString strActive = m_mock.Activate(m_mock.AddProfile(strId));
        Pump();
        return strActive;
    }
    // Lets NetworkManager's signals arrive, as the program's event loop would between checks:
    // the stand-in answers a call on the service's own connection after every signal it sent
    // before, and the event loop then delivers those.
    void Pump() {
        m_bus.Get().call(QDBusMessage::createMethodCall(
                             QStringLiteral("org.freedesktop.NetworkManager"),
                             QStringLiteral("/org/freedesktop/NetworkManager"),
                             QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")),
                         QDBus::Block, 5000);
        QCoreApplication::processEvents();
    }
    QDBusMessage CallProfile(const QString& strPath, QAnyStringView strMethod,
                             const QVariantList& args = {}) {
        return CallStandIn(m_sandbox.SystemBus(), QStringLiteral("org.freedesktop.NetworkManager"),
                           strPath,
                           QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection"),
                           strMethod.toString(), args);
    }

    CTestSandbox m_sandbox;
    CNmMock m_mock{m_sandbox.SystemBus()};
    CLines m_log;
    struct SAbort {
        ~SAbort() { close(fd); }
        int fd = eventfd(0, EFD_CLOEXEC);
    } m_abort; // the quit request's descriptor
    CSystemBus m_bus{m_log, m_sandbox.BusAddress()};
    CNmDialUpService m_service{m_bus, m_log, m_abort.fd, 3s, 1s};
    CRasManager m_ras{m_service};
};

TEST_F(NmDialUpServiceTest, PhoneBookListsEveryReadableProfileInOrderWithoutLoopback) {
    // More profiles than the bus lets one connection wait for at once (128 replies), and one
    // whose settings cannot be read.
    Names expected;
    for (int i = 0; i < 300; ++i) {
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
    Pump();
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
        const char* pszRow;
        EOutcome outcome;
        int nDelayMs; // when the scripted activation ends
        int nWaitMs;  // the least time the dial takes (its bound is 3 s, a call's 1 s)
        bool bConnected;
    } dials[] = {{"activated", EOutcome::Activated, 400, 400, true},
                 {"deactivated", EOutcome::Deactivated, 300, 300, false},
                 {"vanished", EOutcome::Vanished, 300, 300, false},
                 {"refused", EOutcome::Refused, 0, 0, false},
                 {"answered after the call's bound", EOutcome::LateAnswer, 1500, 1000, false},
                 {"never activated: the dial's bound", EOutcome::StaysActivating, 0, 3000, false}};
    for (const auto& dial : dials) {
        SCOPED_TRACE(dial.pszRow);
        ASSERT_TRUE(m_mock.Reset());
        Pump();
        const QString strProfile = m_mock.AddProfile("Modem");
        ASSERT_TRUE(m_mock.ScriptActivation(dial.outcome, dial.nDelayMs));
        const auto start = Clock::now();
        EXPECT_EQ(m_ras.Dial("modem"), dial.bConnected);
        // Waited for the outcome; no more than its bound, with room for a loaded machine.
        EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(dial.nWaitMs));
        EXPECT_LT(Clock::now() - start, 30s);
        const auto calls = m_mock.ManagerCalls("ActivateConnection");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].at(0).value<QDBusObjectPath>().path(), strProfile);
        // The stand-in keeps a failed connection listed unless the dial deactivates it.
        EXPECT_EQ(m_ras.IsConnected(""), dial.bConnected);
    }
}

TEST_F(NmDialUpServiceTest, AbsentOrHangingServiceGivesSilentResultsAtOnce) {
    Connected("Modem");
    CNmDialUpService service(m_bus, m_log, -1, 3s, 300ms);
    CRasManager ras(service);
    m_sandbox.PauseStandIn("networkmanager", true);
    // Unbounded, each query would wait the bus's own 25 s.
    auto start = Clock::now();
    EXPECT_FALSE(ras.IsConnected("Modem"));
    EXPECT_FALSE(ras.Dial("Modem"));
    EXPECT_LT(Clock::now() - start, 20s) << "a hanging service costs one call bound per query";
    m_sandbox.PauseStandIn("networkmanager", false);

    // Bounds of minutes, which an absent service must not wait for.
    m_sandbox.StopStandIn("networkmanager");
    CNmDialUpService patient(m_bus, m_log, -1, 300s, 120s);
    CRasManager rasPatient(patient);
    start = Clock::now();
    EXPECT_FALSE(rasPatient.IsConnected(""));
    EXPECT_FALSE(rasPatient.HangUp(""));
    EXPECT_FALSE(rasPatient.Dial("Modem"));
    EXPECT_TRUE(rasPatient.EnumEntryNames().empty());
    EXPECT_FALSE(m_ras.IsConnected(""));
    EXPECT_TRUE(m_ras.EnumEntryNames().empty());
    EXPECT_LT(Clock::now() - start, 60s) << "an absent service answers at once";

    // Back after a restart.
    ASSERT_TRUE(m_sandbox.StartStandIn("networkmanager"));
    Connected("Modem");
    EXPECT_TRUE(m_ras.IsConnected("Modem"));
    EXPECT_EQ(m_ras.EnumEntryNames(), Names{"Modem"});
}

// A check costs no call once the active connections are known, and the profile list none once
// read: both follow NetworkManager's signals, and are read whole again when it restarts.
TEST_F(NmDialUpServiceTest, ChecksAndProfilesCostFewCalls) {
    const QString strActive = Connected("Modem");
    for (int i = 0; i < 50; ++i)
        m_mock.AddProfile(QStringLiteral("Profile %1").arg(i));
    ASSERT_TRUE(m_ras.IsConnected("modem"));
    ASSERT_EQ(m_ras.EnumEntryNames().size(), 51u);
    auto callsOf = [&](const std::function<void()>& fn) {
        const unsigned nBefore = m_service.CallCount();
        fn();
        return m_service.CallCount() - nBefore;
    };
    EXPECT_EQ(callsOf([&] { EXPECT_TRUE(m_ras.IsConnected("modem")); }), 0u);
    EXPECT_EQ(callsOf([&] { m_ras.EnumEntryNames(); }), 0u);

    qDBusRegisterMetaType<QMap<QString, QVariantMap>>();
    const QString strNew = m_mock.AddProfile("New");
    ASSERT_EQ(CallProfile(strNew, "Update",
                          {QVariant::fromValue(QMap<QString, QVariantMap>{
                              {QStringLiteral("connection"),
                               {{QStringLiteral("id"), QStringLiteral("Renamed")},
                                {QStringLiteral("type"), QStringLiteral("gsm")}}}})})
                  .type(),
              QDBusMessage::ReplyMessage);
    ASSERT_EQ(CallProfile(m_mock.AddProfile("Gone"), "Delete").type(), QDBusMessage::ReplyMessage);
    Pump();
    Names names;
    EXPECT_EQ(callsOf([&] { names = m_ras.EnumEntryNames(); }), 1u) << "the new profile only";
    ASSERT_EQ(names.size(), 52u);
    EXPECT_EQ(names.back(), "Renamed");

    // NetworkManager takes the connection down (4: deactivated) and says so.
    ASSERT_EQ(CallStandIn(m_sandbox.SystemBus(), QStringLiteral("org.freedesktop.NetworkManager"),
                          strActive, QStringLiteral("org.freedesktop.DBus.Properties"),
                          QStringLiteral("Set"),
                          {QStringLiteral("org.freedesktop.NetworkManager.Connection.Active"),
                           QStringLiteral("State"), QVariant::fromValue(QDBusVariant(4u))})
                  .type(),
              QDBusMessage::ReplyMessage);
    Pump();
    EXPECT_EQ(callsOf([&] { EXPECT_FALSE(m_ras.IsConnected("modem")); }), 0u);

    // NetworkManager restarts with other profiles.
    m_sandbox.StopStandIn("networkmanager");
    ASSERT_TRUE(m_sandbox.StartStandIn("networkmanager"));
    m_mock.AddProfile("After");
    Pump();
    EXPECT_EQ(m_ras.EnumEntryNames(), Names{"After"});
}

// A change whose signal was lost is seen once what calls read has aged past the trust period.
TEST_F(NmDialUpServiceTest, LostSignalIsMadeGoodAfterTheTrustPeriod) {
    CNmDialUpService service{m_bus, m_log, -1, 3s, 1s, 200ms};
    CRasManager ras{service};
    const QString strActive = Connected("Modem");
    ASSERT_TRUE(ras.IsConnected("Modem"));
    ASSERT_TRUE(m_mock.SetStateUnannounced(strActive, 4));
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(ras.IsConnected("Modem"));
    EXPECT_NE(m_log.m_strAll.find("differs from what NetworkManager's signals told"),
              std::string::npos);
}

// A quit request ends a dial at once, takes down what it started, and starts no other. The
// dial's bound is far beyond the test's time, and the request comes once the dial is under way.
TEST_F(NmDialUpServiceTest, QuitRequestEndsADialAtOnce) {
    m_mock.AddProfile("Modem");
    ASSERT_TRUE(m_mock.ScriptActivation(CNmMock::EOutcome::StaysActivating));
    CNmDialUpService service(m_bus, m_log, m_abort.fd, 600s, 5s);
    CRasManager ras(service);
    std::thread signal([&] {
        {
            const CNmMock watcher(
                QDBusConnection::connectToBus(m_sandbox.BusAddress(), QStringLiteral("quit")));
            CTestSandbox::WaitUntil(
                [&] { return !watcher.ManagerCalls("ActivateConnection").empty(); }, 60s);
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("quit"));
        EXPECT_EQ(eventfd_write(m_abort.fd, 1), 0);
    });
    EXPECT_FALSE(ras.Dial("Modem"));
    signal.join();
    EXPECT_EQ(m_mock.ManagerCalls("DeactivateConnection").size(), 1u);
    EXPECT_FALSE(ras.Dial("Modem"));
    EXPECT_EQ(m_mock.ManagerCalls("ActivateConnection").size(), 1u);
    EXPECT_NE(m_log.m_strAll.find("cut short by the quit request"), std::string::npos);
}

// A restarted system bus is joined again, with NetworkManager on it.
TEST_F(NmDialUpServiceTest, RestartedBusIsJoinedAgain) {
    Connected("Modem");
    ASSERT_TRUE(m_ras.IsConnected("Modem"));
    const QDBusConnection before = m_bus.Get();
    ASSERT_TRUE(m_sandbox.RestartBus());
    // The service's connection notices the restart in its own time.
    ASSERT_TRUE(CTestSandbox::WaitUntil([&] { return !before.isConnected(); }, 30s));
    m_mock = CNmMock(m_sandbox.SystemBus());
    ASSERT_TRUE(m_mock.Reset());
    Connected("Modem");
    EXPECT_TRUE(m_ras.IsConnected("Modem"));
    EXPECT_EQ(m_ras.EnumEntryNames(), Names{"Modem"});
    EXPECT_NE(m_log.m_strAll.find("system bus lost"), std::string::npos);
    EXPECT_NE(m_log.m_strAll.find("system bus back"), std::string::npos);
}
} // namespace

} // namespace tarnwick
