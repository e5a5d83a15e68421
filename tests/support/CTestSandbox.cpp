#include "CTestSandbox.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <atomic>
#include <csignal>
#include <thread>
#include <unistd.h>

#ifndef TARNWICK_PROGRAM_PATH
#error "TARNWICK_PROGRAM_PATH must name the built program"
#endif
#ifndef TARNWICK_SIM_MODULE_DIR
#error "TARNWICK_SIM_MODULE_DIR must name the folder of the simulated port module"
#endif

namespace {
constexpr std::chrono::seconds kStartTimeout{15};
const QString kNetworkManagerName = QStringLiteral("org.freedesktop.NetworkManager");
const QString kLogindName = QStringLiteral("org.freedesktop.login1");

// A bus that lets every client own any name and talk to anyone, and starts no services
// on demand: nothing from outside the sandbox can be activated through it.
QString BusConfig(const QString& strSocket) {
    return QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus "
                          "Configuration 1.0//EN\"\n"
                          " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                          "<busconfig>\n"
                          "  <type>session</type>\n"
                          "  <keep_umask/>\n"
                          "  <listen>unix:path=%1</listen>\n"
                          "  <auth>EXTERNAL</auth>\n"
                          "  <policy context=\"default\">\n"
                          "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                          "    <allow eavesdrop=\"true\"/>\n"
                          "    <allow own=\"*\"/>\n"
                          "  </policy>\n"
                          "</busconfig>\n")
        .arg(strSocket);
}

bool WriteText(const QString& strPath, const QString& strText) {
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(strText.toUtf8()) == strText.toUtf8().size();
}

void EndProcess(std::unique_ptr<QProcess>& pProcess) {
    if (!pProcess)
        return;
    if (pProcess->state() != QProcess::NotRunning) {
        pProcess->kill();
        pProcess->waitForFinished(5000);
    }
    pProcess.reset();
}
} // namespace

CTestSandbox::CTestSandbox() : CTestSandbox(SOptions{}) {}

CTestSandbox::CTestSandbox(const SOptions& options)
    : m_root(QDir::tempPath() + "/tarnwick-sandbox-XXXXXX") {
    static std::atomic<int> s_nSandbox{0};
    m_strBusName = QStringLiteral("tarnwick-sandbox-%1-%2").arg(getpid()).arg(++s_nSandbox);
    if (!m_root.isValid()) {
        Fail("cannot create the sandbox folder");
        return;
    }
    // The buses' addresses are known before they run, so this process points at the sandbox
    // before anything could use a bus.
    m_strSystemBus = "unix:path=" + Root() + "/system_bus_socket";
    m_strSessionBus = "unix:path=" + Root() + "/session_bus_socket";
    qputenv("HOME", Home().toUtf8());
    qputenv("XDG_CONFIG_HOME", ConfigHome().toUtf8());
    qputenv("XDG_RUNTIME_DIR", RuntimeDir().toUtf8());
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_strSystemBus.toUtf8());
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_strSessionBus.toUtf8());

    QDir root(Root());
    if (!root.mkpath("home") || !root.mkpath("config") || !root.mkpath("runtime") ||
        !QFile::setPermissions(RuntimeDir(),
                               QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        Fail("cannot create the sandbox's folders");
        return;
    }
    if (!StartBus("system", m_strSystemBus) || !StartBus("session", m_strSessionBus))
        return;
    if (options.bNetworkManager && !StartNetworkManager())
        return;
    if (options.bLogind && !StartLogind())
        return;
    if (!PrepareProgram())
        return;
    m_bReady = true;
}

CTestSandbox::~CTestSandbox() {
    for (std::unique_ptr<QProcess>& pProgram : m_programs)
        EndProcess(pProgram);
    EndProcess(m_pNetworkManager);
    EndProcess(m_pLogind);
    QDBusConnection::disconnectFromBus(m_strBusName);
    for (auto it = m_buses.rbegin(); it != m_buses.rend(); ++it)
        EndProcess(*it);
}

void CTestSandbox::Fail(const QString& strError) {
    if (m_strError.isEmpty())
        m_strError = strError;
}

bool CTestSandbox::WaitUntil(const std::function<bool()>& fn, std::chrono::milliseconds timeout,
                             std::chrono::milliseconds interval) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (fn())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(interval);
    }
}

QProcessEnvironment CTestSandbox::BaseEnvironment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Nothing of the desktop this test may run in reaches the sandbox's processes.
    for (const char* pszName :
         {"DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "SESSION_MANAGER", "DBUS_STARTER_ADDRESS",
          "DBUS_STARTER_BUS_TYPE", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
          "LD_LIBRARY_PATH", "INPOUT32_SIM_LOG", "INPOUT32_SIM_INIT"})
        env.remove(pszName);
    env.insert("HOME", Home());
    env.insert("XDG_CONFIG_HOME", ConfigHome());
    env.insert("XDG_RUNTIME_DIR", RuntimeDir());
    env.insert("DBUS_SYSTEM_BUS_ADDRESS", m_strSystemBus);
    env.insert("DBUS_SESSION_BUS_ADDRESS", m_strSessionBus);
    return env;
}

bool CTestSandbox::StartBus(const QString& strName, QString& strAddress) {
    const QString strSocket = Root() + "/" + strName + "_bus_socket";
    const QString strConfig = Root() + "/" + strName + "-bus.conf";
    if (!WriteText(strConfig, BusConfig(strSocket))) {
        Fail("cannot write " + strConfig);
        return false;
    }
    auto pBus = std::make_unique<QProcess>();
    pBus->setProgram("dbus-daemon");
    pBus->setArguments(
        {"--config-file=" + strConfig, "--nofork", "--nopidfile", "--print-address=1"});
    pBus->setProcessEnvironment(BaseEnvironment());
    pBus->setStandardErrorFile(Root() + "/" + strName + "-bus.log");
    pBus->start();
    // The daemon prints its address once it listens.
    if (!pBus->waitForStarted(5000) ||
        !pBus->waitForReadyRead(static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(kStartTimeout).count()))) {
        Fail("dbus-daemon (" + strName + ") did not start: " + pBus->errorString());
        m_buses.push_back(std::move(pBus));
        return false;
    }
    const QString strPrinted = QString::fromUtf8(pBus->readLine()).trimmed();
    m_buses.push_back(std::move(pBus));
    if (!strPrinted.startsWith("unix:path=" + strSocket)) {
        Fail("dbus-daemon (" + strName + ") listens elsewhere: " + strPrinted);
        return false;
    }
    strAddress = "unix:path=" + strSocket;
    return true;
}

QDBusConnection CTestSandbox::SystemBus() {
    return QDBusConnection::connectToBus(m_strSystemBus, m_strBusName);
}

bool CTestSandbox::IsNameOwned(const QString& strService) {
    QDBusConnection bus = SystemBus();
    if (!bus.isConnected() || bus.interface() == nullptr)
        return false;
    const QDBusReply<bool> reply = bus.interface()->isServiceRegistered(strService);
    return reply.isValid() && reply.value();
}

bool CTestSandbox::StartMock(const QString& strTemplate, const QString& strService,
                             std::unique_ptr<QProcess>& pProcess) {
    EndProcess(pProcess);
    pProcess = std::make_unique<QProcess>();
    // The system's own interpreter: another python3 earlier on PATH may lack the dbus module.
    pProcess->setProgram("/usr/bin/python3");
    pProcess->setArguments({"-m", "dbusmock", "--template", strTemplate});
    pProcess->setProcessEnvironment(BaseEnvironment());
    pProcess->setStandardOutputFile(Root() + "/" + strTemplate + ".log", QIODevice::Append);
    pProcess->setStandardErrorFile(Root() + "/" + strTemplate + ".log", QIODevice::Append);
    pProcess->start();
    if (!pProcess->waitForStarted(5000) ||
        !WaitUntil([&] { return IsNameOwned(strService); }, kStartTimeout)) {
        Fail("the " + strTemplate + " stand-in did not start (python3-dbusmock installed?)");
        return false;
    }
    return true;
}

void CTestSandbox::StopMock(const QString& strService, std::unique_ptr<QProcess>& pProcess) {
    EndProcess(pProcess);
    WaitUntil([&] { return !IsNameOwned(strService); }, kStartTimeout);
}

bool CTestSandbox::StartNetworkManager() {
    return StartMock("networkmanager", kNetworkManagerName, m_pNetworkManager);
}

void CTestSandbox::StopNetworkManager() {
    StopMock(kNetworkManagerName, m_pNetworkManager);
}

void CTestSandbox::PauseNetworkManager(bool bPause) {
    if (m_pNetworkManager && m_pNetworkManager->processId() > 0)
        ::kill(static_cast<pid_t>(m_pNetworkManager->processId()), bPause ? SIGSTOP : SIGCONT);
}

bool CTestSandbox::StartLogind() {
    return StartMock("logind", kLogindName, m_pLogind);
}

void CTestSandbox::StopLogind() {
    StopMock(kLogindName, m_pLogind);
}

bool CTestSandbox::PrepareProgram() {
    const QString strSource = QStringLiteral(TARNWICK_PROGRAM_PATH);
    if (!QDir(Root()).mkpath("bin")) {
        Fail("cannot create the sandbox's bin folder");
        return false;
    }
    m_strProgram = QStringLiteral("%1/bin/tarnwick-%2")
                       .arg(Root())
                       .arg(QRandomGenerator::global()->generate(), 8, 16, QChar('0'));
    // A hard link is cheapest; across file systems a copy does as well.
    if (::link(QFile::encodeName(strSource).constData(),
               QFile::encodeName(m_strProgram).constData()) == 0)
        return true;
    if (!QFile::copy(strSource, m_strProgram) ||
        !QFile::setPermissions(m_strProgram,
                               QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        Fail("cannot place the program " + strSource + " in the sandbox");
        return false;
    }
    return true;
}

QProcessEnvironment CTestSandbox::ProgramEnvironment() const {
    QProcessEnvironment env = BaseEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("LD_LIBRARY_PATH", QStringLiteral(TARNWICK_SIM_MODULE_DIR));
    env.insert("INPOUT32_SIM_LOG", PortLogPath());
    env.insert(m_extraVariables);
    return env;
}

void CTestSandbox::SetProgramVariable(const QString& strName, const QString& strValue) {
    m_extraVariables.insert(strName, strValue);
}

QProcess* CTestSandbox::StartProgram() {
    const QString strBase = QStringLiteral("%1/program-%2").arg(Root()).arg(m_programs.size());
    auto pProgram = std::make_unique<QProcess>();
    pProgram->setProgram(m_strProgram);
    pProgram->setProcessEnvironment(ProgramEnvironment());
    pProgram->setWorkingDirectory(Home());
    pProgram->setStandardOutputFile(strBase + ".out");
    pProgram->setStandardErrorFile(strBase + ".err");
    pProgram->setProperty("tarnwickLog", strBase + ".err");
    pProgram->start();
    if (!pProgram->waitForStarted(5000))
        return nullptr;
    m_programs.push_back(std::move(pProgram));
    return m_programs.back().get();
}

bool CTestSandbox::StopProgram(QProcess* pProcess, std::chrono::milliseconds timeout) {
    if (pProcess == nullptr)
        return false;
    if (pProcess->state() != QProcess::NotRunning) {
        pProcess->terminate();
        if (!pProcess->waitForFinished(static_cast<int>(timeout.count()))) {
            pProcess->kill();
            pProcess->waitForFinished(5000);
            return false;
        }
    }
    return pProcess->exitStatus() == QProcess::NormalExit && pProcess->exitCode() == 0;
}

QString CTestSandbox::ProgramLog(QProcess* pProcess) const {
    if (pProcess == nullptr)
        return {};
    QFile file(pProcess->property("tarnwickLog").toString());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
