#include "CTestSandbox.h"

#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

namespace tarnwick {

namespace {
constexpr std::chrono::seconds kStartTimeout{15};

QString ServiceOf(const QString& strTemplate) {
    if (strTemplate == "notification_daemon")
        return "org.freedesktop.Notifications";
    return strTemplate == "logind" ? "org.freedesktop.login1" : "org.freedesktop.NetworkManager";
}
} // namespace

CTestSandbox::CTestSandbox(bool bStandIns) : m_root(QDir::tempPath() + "/tarnwick-XXXXXX") {
    if (!m_root.isValid()) {
        m_strError = "cannot create the sandbox folder";
        return;
    }
    m_strBus = "unix:path=" + Root() + "/bus_socket";
    const QProcessEnvironment env = Environment();
    for (const char* pszName : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR",
                                "DBUS_SYSTEM_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS"})
        qputenv(pszName, env.value(pszName).toUtf8());
    // The program's name is the folder's, unique: a test may run several sandboxes.
    m_strProgram = Root() + "/" + QDir(Root()).dirName();
    if (!QDir(Root()).mkpath("config") || !QFile::copy(TARNWICK_PROGRAM_PATH, m_strProgram))
        m_strError = "cannot set up the sandbox's folder";
    else if (StartBus() && bStandIns && StartStandIn("networkmanager"))
        StartStandIn("logind");
}

CTestSandbox::~CTestSandbox() {
    QDBusConnection::disconnectFromBus(m_strBus);
    for (auto it = m_processes.rbegin(); it != m_processes.rend(); ++it) {
        (*it)->kill();
        (*it)->waitForFinished(5000);
    }
    // The instance lock of the program's copy, named after its file, in the machine's lock
    // folder (or /tmp where that is missing).
    const QString strLock = QDir(Root()).dirName().toLower() + ".lock";
    for (const char* pszDir : {"/run/lock/", "/tmp/"})
        QFile::remove(pszDir + strLock);
}

bool CTestSandbox::WaitUntil(const std::function<bool()>& fn, std::chrono::milliseconds timeout) {
    for (const QDeadlineTimer deadline(timeout); !fn(); QThread::msleep(50)) {
        if (deadline.hasExpired())
            return false;
    }
    return true;
}

QProcessEnvironment CTestSandbox::Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Nothing of the desktop or the port module this test may run with reaches the
    // sandbox's processes.
    for (const char* pszName : {"DISPLAY", "WAYLAND_DISPLAY", "SESSION_MANAGER", "LD_LIBRARY_PATH",
                                "INPOUT32_SIM_LOG", "INPOUT32_SIM_INIT"})
        env.remove(pszName);
    // Set here too: this process's own variables point at the sandbox made last. The
    // folder, made private by QTemporaryDir, serves as HOME and XDG_RUNTIME_DIR.
    env.insert("HOME", Root());
    env.insert("XDG_CONFIG_HOME", ConfigHome());
    env.insert("XDG_RUNTIME_DIR", Root());
    env.insert("DBUS_SYSTEM_BUS_ADDRESS", m_strBus);
    env.insert("DBUS_SESSION_BUS_ADDRESS", m_strBus);
    return env;
}

QProcess* CTestSandbox::NewProcess() {
    QProcess* pProcess = m_processes.emplace_back(std::make_unique<QProcess>()).get();
    pProcess->setProcessEnvironment(Environment());
    pProcess->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    return pProcess;
}

bool CTestSandbox::StartBus() {
    // Anyone may own any name and talk to anyone, and no service is started on demand:
    // nothing from outside the sandbox can be activated through this bus.
    QFile config(Root() + "/bus.conf");
    if (config.open(QIODevice::WriteOnly))
        config.write(QStringLiteral("<busconfig><type>session</type><listen>%1</listen>"
                                    "<auth>EXTERNAL</auth><policy context=\"default\">"
                                    "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                                    "<allow own=\"*\"/></policy></busconfig>\n")
                         .arg(m_strBus)
                         .toUtf8());
    config.close();
    QProcess* pBus = NewProcess();
    pBus->setStandardErrorFile(QProcess::nullDevice());
    pBus->start("dbus-daemon", {"--config-file=" + config.fileName(), "--nofork", "--nopidfile",
                                "--print-address=1"});
    // The daemon prints its address once it listens.
    if (pBus->waitForStarted(5000) && pBus->waitForReadyRead(15000))
        return true;
    m_strError = "dbus-daemon did not start: " + pBus->errorString();
    return false;
}

bool CTestSandbox::StartStandIn(const QString& strTemplate) {
    QProcess* pProcess = m_standIns[strTemplate] = NewProcess();
    // It prints every call it gets; its errors reach the test's output.
    pProcess->setStandardOutputFile(QProcess::nullDevice());
    pProcess->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The system's own interpreter: another python3 earlier on PATH may lack the dbus module.
    pProcess->start("/usr/bin/python3", {"-m", "dbusmock", "--template", strTemplate});
    const QDBusConnection bus = SystemBus();
    if (pProcess->waitForStarted(5000) &&
        WaitUntil([&] { return bus.interface()->isServiceRegistered(ServiceOf(strTemplate)); },
                  kStartTimeout))
        return true;
    m_strError = "the " + strTemplate + " stand-in did not start (python3-dbusmock installed?)";
    return false;
}

void CTestSandbox::StopStandIn(const QString& strTemplate) {
    m_standIns.at(strTemplate)->kill();
    m_standIns.at(strTemplate)->waitForFinished(5000);
    const QDBusConnection bus = SystemBus();
    WaitUntil([&] { return !bus.interface()->isServiceRegistered(ServiceOf(strTemplate)); },
              kStartTimeout);
}

void CTestSandbox::PauseStandIn(const QString& strTemplate, bool bPause) {
    ::kill(static_cast<pid_t>(m_standIns.at(strTemplate)->processId()), bPause ? SIGSTOP : SIGCONT);
}

QProcess* CTestSandbox::StartProgram(const QProcessEnvironment& extra,
                                     QProcess::ProcessChannelMode eChannels) {
    QProcess* pProgram = NewProcess();
    QProcessEnvironment env = pProgram->processEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("LD_LIBRARY_PATH", TARNWICK_SIM_MODULE_DIR);
    env.insert("INPOUT32_SIM_LOG", PortLogPath());
    env.insert(extra);
    pProgram->setProcessEnvironment(env);
    pProgram->setWorkingDirectory(Root());
    pProgram->setProcessChannelMode(eChannels);
    pProgram->start(m_strProgram, {});
    return pProgram->waitForStarted(5000) ? pProgram : nullptr;
}

bool CTestSandbox::StopProgram(QProcess* pProgram) {
    pProgram->terminate();
    return pProgram->waitForFinished(20000) && pProgram->exitStatus() == QProcess::NormalExit &&
           pProgram->exitCode() == 0;
}

} // namespace tarnwick
