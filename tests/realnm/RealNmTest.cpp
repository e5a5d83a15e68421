// The dial-up service and the whole program against the real NetworkManager, which
// realnm.sh runs in namespaces of their own (profiles Modem1..3 over veth pairs to an "ISP").
#include "CLogindMock.h"
#include "CTestSandbox.h"

#include "platform/CRasManager.h"
#include "platform/ILog.h"
#include "platform/linux/CNmDialUpService.h"
#include "platform/linux/CSystemBus.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <functional>
#include <thread>

namespace tarnwick {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {
const QString kNm = QStringLiteral("org.freedesktop.NetworkManager");

QVariant Property(const QDBusConnection& bus, const QString& strPath, const QString& strIface,
                  QAnyStringView strName) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        kNm, strPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    message.setArguments({strIface, strName.toString()});
    return QDBusReply<QDBusVariant>(bus.call(message, QDBus::Block, 2000)).value().variant();
}

// The profile's active connection as "path state", or "" when it has none.
QString ActiveOf(const QDBusConnection& bus, QAnyStringView strId) {
    const QString strActive = kNm + QStringLiteral(".Connection.Active");
    const auto paths = qdbus_cast<QList<QDBusObjectPath>>(Property(
        bus, QStringLiteral("/org/freedesktop/NetworkManager"), kNm, u"ActiveConnections"));
    for (const QDBusObjectPath& path : paths) {
        if (Property(bus, path.path(), strActive, u"Id").toString() == strId.toString())
            return path.path() + QLatin1Char(' ') +
                   QString::number(Property(bus, path.path(), strActive, u"State").toUInt());
    }
    return {};
}

bool IsActivated(const QString& strActive) {
    return strActive.endsWith(QLatin1String(" 2"));
}

void SetSwitch(QAnyStringView strName, int nSeconds) {
    QFile file(qEnvironmentVariable("TARNWICK_REALNM") + QLatin1Char('/') + strName.toString());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray::number(nSeconds)) > 0);
}

class CStderrLines : public ILog {
public:
    void Write(LogLevel, const std::string& strStep, const std::string& strText) override {
        std::fprintf(stderr, "  [service] %s: %s\n", strStep.c_str(), strText.c_str());
    }
};

// Re-dial as the check cycle and "Reconnect current" do it: hang up what is up, then dial.
// A slow hang-up (pppd takes seconds) must still end with the connection activated again.
TEST(RealNm, RedialEndsConnectedAfterAQuickOrSlowHangUp) {
    CStderrLines log;
    CSystemBus bus(log);
    CNmDialUpService service(bus, log, -1, 30s, 5s);
    CRasManager ras(service);
    const QDBusConnection nm = bus.Get();
    const struct {
        const char* pszRow;
        int nHangUpSeconds;
    } rows[] = {{"quick hang-up", 0}, {"slow hang-up", 3}};
    ASSERT_TRUE(ras.Dial("modem1"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszRow);
        SetSwitch("slow-down-Modem1", row.nHangUpSeconds);
        const QString strBefore = ActiveOf(nm, "Modem1");
        ASSERT_TRUE(IsActivated(strBefore));
        ASSERT_TRUE(ras.IsConnected("Modem1"));
        ASSERT_TRUE(ras.HangUp("Modem1"));
        EXPECT_TRUE(ras.Dial("Modem1"));
        const QString strAfter = ActiveOf(nm, "Modem1");
        EXPECT_TRUE(IsActivated(strAfter)) << strAfter.toStdString();
        EXPECT_NE(strAfter.section(QLatin1Char(' '), 0, 0),
                  strBefore.section(QLatin1Char(' '), 0, 0));
    }
    SetSwitch("slow-down-Modem1", 0);

    // Once NetworkManager's signals are handled a check needs no call, and a connection it
    // takes down itself is seen down without one.
    const auto pumpWhile = [](const std::function<bool()>& fn) {
        for (const auto end = Clock::now() + 10s; fn() && Clock::now() < end;) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(50ms);
        }
    };
    pumpWhile([end = Clock::now() + 1s] { return Clock::now() < end; });
    ASSERT_TRUE(ras.IsConnected("Modem1"));
    const unsigned nCalls = service.CallCount();
    QDBusMessage down =
        QDBusMessage::createMethodCall(kNm, QStringLiteral("/org/freedesktop/NetworkManager"), kNm,
                                       QStringLiteral("DeactivateConnection"));
    down.setArguments(
        {QVariant::fromValue(QDBusObjectPath(ActiveOf(nm, "Modem1").section(u' ', 0, 0)))});
    ASSERT_EQ(nm.call(down, QDBus::Block, 5000).type(), QDBusMessage::ReplyMessage);
    pumpWhile([&] { return ras.IsConnected("Modem1"); });
    EXPECT_FALSE(ras.IsConnected("Modem1"));
    EXPECT_EQ(service.CallCount(), nCalls);
}

bool WriteProfile(const CTestSandbox& sandbox, const QByteArray& modem, const QByteArray& more) {
    QDir().mkpath(QFileInfo(sandbox.ProfilePath()).path());
    QFile file(sandbox.ProfilePath());
    const QByteArray text = "[WatchDogging]\nsDefaultConnection=" + modem +
                            "\niCheckDelay=1\nbCheckURLDownload=1\nsURLDownload=10.213." +
                            modem.right(1) + ".1:9\n" + more;
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// Every check fails (the probe's host refuses) and hang-ups take 3 s: start-up dial at 20 s;
// re-dial at the first check (60 s); power cycle at the second (120 s, fault limit 2); a
// reboot asked of logind (a stand-in) at the third. Beside it, in its own sandbox on Modem3, a
// second program is stopped while its start-up dial (waiting for a DHCP answer that never
// comes) is activating: it ends at once, saved, with the half-made connection taken down.
TEST(RealNm, ProgramDialsRedialsPowerCyclesRebootsAndQuitsDuringADial) {
    const QString strBus = qEnvironmentVariable("DBUS_SYSTEM_BUS_ADDRESS");
    CTestSandbox sandbox(false);
    CTestSandbox sandboxQuit(false);
    ASSERT_TRUE(sandbox.IsReady() && sandboxQuit.IsReady())
        << (sandbox.Error() + sandboxQuit.Error()).toStdString();
    sandbox.UseSystemBus(strBus);
    sandboxQuit.UseSystemBus(strBus);
    const QDBusConnection nm = sandbox.SystemBus();
    // logind stays a stand-in, on the namespace's bus; it ends with the namespace.
    QProcess logindStandIn;
    logindStandIn.setStandardOutputFile(QProcess::nullDevice());
    logindStandIn.start(QStringLiteral("/usr/bin/python3"),
                        {QStringLiteral("-m"), QStringLiteral("dbusmock"),
                         QStringLiteral("--template"), QStringLiteral("logind")});
    ASSERT_TRUE(CTestSandbox::WaitUntil(
        [&] {
            return nm.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.login1"));
        },
        15s));
    CLogindMock logind(nm);
    SetSwitch("slow-down-Modem1", 3);
    ASSERT_TRUE(WriteProfile(sandbox, "Modem1",
                             "iMaxFaults=2\n[LptResetter]\niModemOffTime=1\niModemWaitTime=5\n"));
    ASSERT_TRUE(WriteProfile(sandboxQuit, "Modem3", ""));

    const auto start = Clock::now();
    auto since = [&](std::chrono::seconds s) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(s - (Clock::now() - start));
    };
    QProcess* pProgram = sandbox.StartProgram();
    QProcess* pQuit = sandboxQuit.StartProgram();
    ASSERT_TRUE(pProgram != nullptr && pQuit != nullptr);

    // The start-up dials.
    ASSERT_TRUE(CTestSandbox::WaitUntil([&] { return IsActivated(ActiveOf(nm, "Modem1")); }, 40s));
    EXPECT_GE(Clock::now() - start, 19s);
    ASSERT_TRUE(CTestSandbox::WaitUntil(
        [&] { return ActiveOf(nm, "Modem3").endsWith(QLatin1String(" 1")); }, 10s));

    const auto quit = Clock::now();
    pQuit->terminate();
    ASSERT_TRUE(pQuit->waitForFinished(20000));
    EXPECT_LT(Clock::now() - quit, 20s) << "a dial of minutes was waited for";
    EXPECT_TRUE(pQuit->exitStatus() == QProcess::NormalExit && pQuit->exitCode() == 0);
    EXPECT_TRUE(QFile::exists(sandboxQuit.ProfilePath()));
    EXPECT_TRUE(CTestSandbox::WaitUntil([&] { return ActiveOf(nm, "Modem3").isEmpty(); }, 20s))
        << "the half-made connection was left";

    // A new connection, activated, by a deadline.
    auto redialled = [&](std::chrono::seconds deadline) {
        const QString strFirst = ActiveOf(nm, "Modem1").section(QLatin1Char(' '), 0, 0);
        return CTestSandbox::WaitUntil(
            [&] {
                const QString strNow = ActiveOf(nm, "Modem1");
                return IsActivated(strNow) && !strNow.startsWith(strFirst + QLatin1Char(' '));
            },
            since(deadline));
    };
    EXPECT_TRUE(redialled(100s)) << "not dialled again after the slow hang-up";
    EXPECT_GE(Clock::now() - start, 60s);
    EXPECT_TRUE(redialled(160s)) << "not dialled again after the power cycle";
    EXPECT_GE(Clock::now() - start, 120s);
    QFile portLog(sandbox.PortLogPath());
    EXPECT_TRUE(portLog.open(QIODevice::ReadOnly) && portLog.readAll().count("Out32") == 6)
        << "power on at start, off, on again";
    EXPECT_TRUE(
        CTestSandbox::WaitUntil([&] { return !logind.Calls("Reboot").empty(); }, since(230s)));
    EXPECT_TRUE(CTestSandbox::StopProgram(pProgram));
    logindStandIn.kill();
    logindStandIn.waitForFinished(5000);
}
} // namespace

} // namespace tarnwick

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("TARNWICK_REALNM")) {
        std::fprintf(stderr, "SKIPPED: run by realnm.sh, beside the real NetworkManager\n");
        return 77;
    }
    return RUN_ALL_TESTS();
}
