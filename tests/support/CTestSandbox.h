#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace tarnwick {

// A private world for tests that talk D-Bus, write the user's configuration or run the
// program: a temporary folder as HOME and XDG_RUNTIME_DIR, XDG_CONFIG_HOME in it, one private
// bus daemon as both session and system bus, and on it, on request, python3-dbusmock's
// NetworkManager ("networkmanager") and logind ("logind") stand-ins, and a desktop
// notification server ("notification_daemon"). The constructor points
// this process's own variables for these at the sandbox before anything else happens (and
// leaves them so), so nothing in the test can reach the real buses or the user's folders.
// Every process the sandbox starts ends with it, or with the test if that is killed.
class CTestSandbox {
public:
    explicit CTestSandbox(bool bStandIns = true);
    ~CTestSandbox();

    // True when the bus and the requested stand-ins are up; else Error() says what failed.
    bool IsReady() const { return m_strError.isEmpty(); }
    const QString& Error() const { return m_strError; }

    QString Root() const { return m_root.path(); }
    QString ConfigHome() const { return Root() + "/config"; }
    // The program's profile, and where the simulated port module logs its every access.
    QString ProfilePath() const { return ConfigHome() + "/Tarnwick/Tarnwick.conf"; }
    QString PortLogPath() const { return Root() + "/port.log"; }
    // A connection of its own to the sandbox's bus.
    QDBusConnection SystemBus() const { return QDBusConnection::connectToBus(m_strBus, m_strBus); }

    // Start waits until the stand-in's name is taken, Stop until it is released; Pause
    // stops (SIGSTOP) or continues it, a service that hangs.
    bool StartStandIn(const QString& strTemplate);
    void StopStandIn(const QString& strTemplate);
    void PauseStandIn(const QString& strTemplate, bool bPause);

    // The program, headless, with the simulated port module and the extra variables, run
    // under a file name of this sandbox's own (single-instance detection then sees only this
    // sandbox's instances, and the real port module beside the built program is never
    // loaded). Its output goes to the test's, or where eChannels says.
    QProcess* StartProgram(const QProcessEnvironment& extra = {},
                           QProcess::ProcessChannelMode eChannels = QProcess::ForwardedChannels);
    // SIGTERM, then waits; true when the program ended by itself with exit code 0.
    static bool StopProgram(QProcess* pProgram);

    // Polls fn until it is true (true) or the timeout has passed (false).
    static bool WaitUntil(const std::function<bool()>& fn, std::chrono::milliseconds timeout);

private:
    bool StartBus();
    // A process of the sandbox: it ends with the sandbox, or with the test if that is killed.
    QProcess* NewProcess();
    QProcessEnvironment Environment() const;

    QTemporaryDir m_root;
    QString m_strBus;
    QString m_strProgram;
    QString m_strError;
    std::vector<std::unique_ptr<QProcess>> m_processes; // ended in reverse order
    std::map<QString, QProcess*> m_standIns;
};

} // namespace tarnwick
