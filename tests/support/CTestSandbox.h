#pragma once

#include <QDBusConnection>
#include <QProcess>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace tarnwick {

// A private world for tests that talk D-Bus, write the user's configuration or run the
// program, served by scripts/sandbox.py: temporary HOME and XDG folders, one private bus as
// session and system bus with the requested stand-ins ("networkmanager", "logind",
// "notification_daemon"), and a copy of the program under a name of its own. The constructor
// points this process's variables at it first, so nothing in the test reaches the real buses or
// folders; all it starts ends with it, or with the test if that is killed.
class CTestSandbox {
public:
    explicit CTestSandbox(bool bStandIns = true);
    ~CTestSandbox();

    // True when the bus and the requested stand-ins are up; else Error() says what failed.
    bool IsReady() const { return m_strError.isEmpty(); }
    const QString& Error() const { return m_strError; }

    QString Root() const { return m_env.value(QStringLiteral("SANDBOX_ROOT")); }
    QString ConfigHome() const { return m_env.value(QStringLiteral("XDG_CONFIG_HOME")); }
    // The program's profile, and where the simulated port module logs its every access.
    QString ProfilePath() const { return ConfigHome() + QStringLiteral("/Tarnwick/Tarnwick.conf"); }
    QString PortLogPath() const { return m_env.value(QStringLiteral("INPOUT32_SIM_LOG")); }
    QString BusAddress() const { return m_env.value(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS")); }
    // From now on the program and SystemBus() use this system bus (one that is there already,
    // such as the real NetworkManager's in its namespaces); the sandbox's bus stays the
    // session bus.
    void UseSystemBus(const QString& strAddress) {
        m_env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), strAddress);
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", strAddress.toUtf8());
    }
    // A connection of its own to the sandbox's bus.
    QDBusConnection SystemBus() const;
    // Ends the bus daemon and starts a new one at the same address with the stand-ins that
    // ran, as a restarted system bus; true when all is up again.
    bool RestartBus() {
        QDBusConnection::disconnectFromBus(BusAddress());
        return Command(QStringLiteral("restart-bus"));
    }

    // Start waits until the stand-in's name is taken, Stop until it is released; Pause
    // stops (SIGSTOP) or continues it, a service that hangs.
    bool StartStandIn(QAnyStringView strTemplate) {
        return Command(QStringLiteral("start ") + strTemplate.toString());
    }
    void StopStandIn(QAnyStringView strTemplate) {
        Command(QStringLiteral("stop ") + strTemplate.toString());
    }
    void PauseStandIn(QAnyStringView strTemplate, bool bPause) {
        Command((bPause ? QStringLiteral("pause ") : QStringLiteral("resume ")) +
                strTemplate.toString());
    }

    // The program's copy, headless, with the simulated port module and the extra variables.
    // Its output goes to the test's, or where eChannels says.
    QProcess* StartProgram(const QProcessEnvironment& extra = {},
                           QProcess::ProcessChannelMode eChannels = QProcess::ForwardedChannels);
    // SIGTERM, then waits; true when the program ended by itself with exit code 0.
    static bool StopProgram(QProcess* pProgram);

    // Polls fn until it is true (true) or the timeout has passed (false).
    static bool WaitUntil(const std::function<bool()>& fn, std::chrono::milliseconds timeout);

private:
    // One line from the sandbox, or an empty one when it said nothing in time.
    QString ReadLine();
    // Sends a command; true when the sandbox answered "ok", else Error() says why.
    bool Command(const QString& strCommand);

    QProcess m_sandbox;
    QProcessEnvironment m_env;
    QString m_strError;
    std::vector<std::unique_ptr<QProcess>> m_programs;
};

} // namespace tarnwick
