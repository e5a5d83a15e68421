#include "CTestSandbox.h"

#include <QThread>

#include <csignal>
#include <sys/prctl.h>

namespace tarnwick {

CTestSandbox::CTestSandbox(bool bStandIns) {
    // Until the sandbox answers, the variables point nowhere.
    for (const char* pszName : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR",
                                "DBUS_SYSTEM_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS"})
        qputenv(pszName, "/nonexistent/tarnwick-sandbox");
    QStringList args{QString::fromUtf8(TARNWICK_SANDBOX_SCRIPT),
                     QStringLiteral("serve"),
                     QStringLiteral("--program"),
                     QString::fromUtf8(TARNWICK_PROGRAM_PATH),
                     QStringLiteral("--port-sim"),
                     QString::fromUtf8(TARNWICK_SIM_MODULE_DIR)};
    if (bStandIns)
        args << QStringLiteral("--stand-in") << QStringLiteral("networkmanager")
             << QStringLiteral("--stand-in") << QStringLiteral("logind");
    // The sandbox cleans up when the test ends (end of its input) or is killed (SIGTERM).
    m_sandbox.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_sandbox.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_sandbox.start(QStringLiteral("/usr/bin/python3"), args);
    m_env = QProcessEnvironment::systemEnvironment();
    for (QString strLine = ReadLine(); strLine != QLatin1String("ready"); strLine = ReadLine()) {
        const qsizetype nEq = strLine.indexOf(QLatin1Char('='));
        if (strLine.isEmpty() || strLine.startsWith(QLatin1String("error")) || nEq < 0) {
            m_strError = QStringLiteral("the sandbox did not start: ") +
                         (strLine.isEmpty() ? m_sandbox.errorString() : strLine);
            return;
        }
        m_env.insert(strLine.left(nEq), strLine.mid(nEq + 1));
    }
    for (const char* pszName : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR",
                                "DBUS_SYSTEM_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS"})
        qputenv(pszName, m_env.value(QString::fromLatin1(pszName)).toUtf8());
    // Nothing of the desktop this test may run with reaches the program.
    for (const char* pszName : {"DISPLAY", "WAYLAND_DISPLAY", "SESSION_MANAGER"})
        m_env.remove(QString::fromLatin1(pszName));
}

CTestSandbox::~CTestSandbox() {
    QDBusConnection::disconnectFromBus(BusAddress());
    // The last started ends first.
    for (; !m_programs.empty(); m_programs.pop_back()) {
        m_programs.back()->kill();
        m_programs.back()->waitForFinished(5000);
    }
    m_sandbox.closeWriteChannel();
    if (!m_sandbox.waitForFinished(20000))
        m_sandbox.kill();
}

QDBusConnection CTestSandbox::SystemBus() const {
    return QDBusConnection::connectToBus(BusAddress(), BusAddress());
}

QString CTestSandbox::ReadLine() {
    while (!m_sandbox.canReadLine())
        if (!m_sandbox.waitForReadyRead(30000))
            return {};
    return QString::fromUtf8(m_sandbox.readLine()).trimmed();
}

bool CTestSandbox::Command(const QString& strCommand) {
    m_sandbox.write((strCommand + QLatin1Char('\n')).toUtf8());
    const QString strAnswer = ReadLine();
    if (strAnswer == QLatin1String("ok"))
        return true;
    m_strError = strCommand + QStringLiteral(": ") +
                 (strAnswer.isEmpty() ? QStringLiteral("no answer") : strAnswer);
    return false;
}

bool CTestSandbox::WaitUntil(const std::function<bool()>& fn, std::chrono::milliseconds timeout) {
    for (const QDeadlineTimer deadline(timeout); !fn(); QThread::msleep(50)) {
        if (deadline.hasExpired())
            return false;
    }
    return true;
}

QProcess* CTestSandbox::StartProgram(const QProcessEnvironment& extra,
                                     QProcess::ProcessChannelMode eChannels) {
    QProcess* pProgram = m_programs.emplace_back(std::make_unique<QProcess>()).get();
    QProcessEnvironment env = m_env;
    env.insert(extra);
    pProgram->setProcessEnvironment(env);
    pProgram->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    pProgram->setWorkingDirectory(Root());
    pProgram->setProcessChannelMode(eChannels);
    pProgram->start(m_env.value(QStringLiteral("TARNWICK")), {});
    return pProgram->waitForStarted(5000) ? pProgram : nullptr;
}

bool CTestSandbox::StopProgram(QProcess* pProgram) {
    pProgram->terminate();
    return pProgram->waitForFinished(20000) && pProgram->exitStatus() == QProcess::NormalExit &&
           pProgram->exitCode() == 0;
}

} // namespace tarnwick
