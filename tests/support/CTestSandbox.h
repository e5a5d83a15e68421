#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

// A private world for tests that talk D-Bus, write the user's configuration or run the
// program: a temporary HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR, two private bus daemons
// (a session bus and one that stands in for the system bus), and on the latter, on request,
// python3-dbusmock's NetworkManager and logind stand-ins.
//
// The constructor points this process's own HOME, XDG_CONFIG_HOME, XDG_RUNTIME_DIR,
// DBUS_SESSION_BUS_ADDRESS and DBUS_SYSTEM_BUS_ADDRESS at the sandbox before anything else
// happens, so nothing in the test can reach the real buses, the real logind or the user's
// real autostart folders; they keep pointing there after the sandbox is gone. The
// destructor ends every process the sandbox started and removes the tree.
class CTestSandbox {
public:
    struct SOptions {
        bool bNetworkManager = true;
        bool bLogind = true;
    };

    CTestSandbox();
    explicit CTestSandbox(const SOptions& options);
    ~CTestSandbox();
    CTestSandbox(const CTestSandbox&) = delete;
    CTestSandbox& operator=(const CTestSandbox&) = delete;

    // True when the buses and the requested stand-ins are up.
    bool IsReady() const { return m_bReady; }
    // What went wrong while setting up, for the test's failure message.
    const QString& Error() const { return m_strError; }

    QString Root() const { return m_root.path(); }
    QString Home() const { return Root() + "/home"; }
    QString ConfigHome() const { return Root() + "/config"; }
    QString RuntimeDir() const { return Root() + "/runtime"; }
    // The program's profile: $XDG_CONFIG_HOME/Tarnwick/Tarnwick.conf.
    QString ProfilePath() const { return ConfigHome() + "/Tarnwick/Tarnwick.conf"; }
    // Where the simulated port module logs every access of the program.
    QString PortLogPath() const { return Root() + "/port.log"; }
    QString SystemBusAddress() const { return m_strSystemBus; }
    QString SessionBusAddress() const { return m_strSessionBus; }

    // A connection of its own to the sandbox's system bus.
    QDBusConnection SystemBus();

    // The stand-ins on the system bus; Start waits until the service's name is taken, Stop
    // until it is released.
    bool StartNetworkManager();
    void StopNetworkManager();
    // A service that hangs: the process is stopped (SIGSTOP) or continued.
    void PauseNetworkManager(bool bPause);
    bool StartLogind();
    void StopLogind();

    // The program, run under a file name unique to this sandbox (so that single-instance
    // detection sees only this sandbox's instances and the real port module beside the
    // built program is never loaded), headless, with the simulated port module.
    QProcessEnvironment ProgramEnvironment() const;
    // An extra variable for the program's later starts (e.g. INPOUT32_SIM_INIT).
    void SetProgramVariable(const QString& strName, const QString& strValue);
    QProcess* StartProgram();
    // SIGTERM, then waits; true when the program ended by itself with exit code 0.
    bool StopProgram(QProcess* pProcess,
                     std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Everything the program wrote to stderr so far.
    QString ProgramLog(QProcess* pProcess) const;
    QString ProgramPath() const { return m_strProgram; }

    // Polls fn until it is true or the timeout has passed; true when it became true.
    static bool WaitUntil(const std::function<bool()>& fn, std::chrono::milliseconds timeout,
                          std::chrono::milliseconds interval = std::chrono::milliseconds(20));

private:
    bool StartBus(const QString& strName, QString& strAddress);
    bool StartMock(const QString& strTemplate, const QString& strService,
                   std::unique_ptr<QProcess>& pProcess);
    void StopMock(const QString& strService, std::unique_ptr<QProcess>& pProcess);
    bool IsNameOwned(const QString& strService);
    bool PrepareProgram();
    QProcessEnvironment BaseEnvironment() const;
    void Fail(const QString& strError);

    QTemporaryDir m_root;
    QString m_strSystemBus;
    QString m_strSessionBus;
    QString m_strProgram;
    QString m_strBusName;
    bool m_bReady = false;
    QString m_strError;
    QProcessEnvironment m_extraVariables;
    std::vector<std::unique_ptr<QProcess>> m_buses;
    std::unique_ptr<QProcess> m_pNetworkManager;
    std::unique_ptr<QProcess> m_pLogind;
    std::vector<std::unique_ptr<QProcess>> m_programs;
};
