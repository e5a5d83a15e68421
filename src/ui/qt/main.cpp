// Tarnwick: keeps a modem Internet link alive on an unattended machine.
#include "app/CTarnwickApp.h"
#include "app/HistoryReport.h"
#include "engine/COutageHistory.h"
#include "engine/CServices.h"
#include "platform/linux/CDlModuleLoader.h"
#include "platform/linux/CJournalLog.h"
#include "platform/linux/CKeyFileProfileStore.h"
#include "platform/linux/CLinuxFileTimes.h"
#include "platform/linux/CLocalClock.h"
#include "platform/linux/CLogindPowerService.h"
#include "platform/linux/CNmDialUpService.h"
#include "platform/linux/CPosixNetService.h"
#include "platform/linux/CProcFsProcessList.h"
#include "platform/linux/CStderrLog.h"
#include "platform/linux/CSystemBus.h"
#include "platform/linux/CXdgAutorunStore.h"
#include "platform/linux/CXdgStateStore.h"
#include "res/CVersionInfo.h"
#include "res/Version.h"
#include "ui/qt/CQtProfileWatcher.h"
#include "ui/qt/CQtShellTray.h"
#include "ui/qt/CQtTimerService.h"
#include "ui/qt/CQtUserInterface.h"
#include "ui/qt/CSignalWatcher.h"

#include <QApplication>
#include <QDBusConnection>
#include <QSessionManager>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <sys/types.h>
#include <unistd.h>

using namespace tarnwick;

namespace {
// Without a reachable display the program still watches the link: Qt falls back to the
// offscreen platform (no tray, and none can appear there: no tray retry) instead of aborting.
void AllowHeadless() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "wayland;xcb;offscreen");
    else
        qputenv("QT_QPA_PLATFORM", "xcb;offscreen");
}

const char* const kUsage =
    "Usage: tarnwick [OPTION]\n"
    "Keeps a modem Internet link alive: checks it, re-dials, power-cycles the modem and, as\n"
    "a last resort, reboots the machine. Without an option it starts the watchdog in the\n"
    "tray.\n"
    "\n"
    "  -v, --verbose  log passing checks too\n"
    "      --status   print the state of the instance that runs, then exit\n"
    "                 (exit status 3 when none runs)\n"
    "      --history  print the outage history and its summary, then exit\n"
    "  -h, --help     print this help, then exit\n"
    "  -V, --version  print the version, then exit\n"
    "\n"
    "The log goes to the systemd journal when the program runs under it\n"
    "(journalctl --user -t tarnwick), otherwise to standard error.\n";

enum class EMode { Run, Status, History, Help, Version };

// The options, read before anything starts; false on an option that is not ours.
bool ParseOptions(int argc, char* argv[], EMode& mode, bool& bVerbose) {
    for (int i = 1; i < argc; ++i) {
        const std::string strArg = argv[i];
        EMode next = EMode::Run;
        if (strArg == "-v" || strArg == "--verbose") {
            bVerbose = true;
            continue;
        }
        if (strArg == "--status")
            next = EMode::Status;
        else if (strArg == "--history")
            next = EMode::History;
        else if (strArg == "-h" || strArg == "--help")
            next = EMode::Help;
        else if (strArg == "-V" || strArg == "--version")
            next = EMode::Version;
        else {
            std::fprintf(stderr, "tarnwick: unknown option '%s'\n", strArg.c_str());
            return false;
        }
        if (mode != EMode::Run && mode != next) {
            std::fprintf(stderr, "tarnwick: '%s' cannot be combined with another action\n",
                         strArg.c_str());
            return false;
        }
        mode = next;
    }
    return true;
}

// The state report of the running instance; exit status 3 when none runs.
int PrintStatus() {
    const std::string strPath = CXdgStateStore::DefaultStatusPath();
    if (strPath.empty()) {
        std::fprintf(stderr, "tarnwick: XDG_RUNTIME_DIR is not set; cannot find a running "
                             "instance\n");
        return 3;
    }
    std::ifstream in(strPath);
    std::stringstream text;
    text << in.rdbuf();
    const std::string strText = text.str();
    long nPid = 0;
    // The report is removed at exit; one left behind by a crash names a process that is gone.
    const bool bRunning = in && std::sscanf(strText.c_str(), "pid: %ld", &nPid) == 1 && nPid > 0 &&
                          (kill(static_cast<pid_t>(nPid), 0) == 0 || errno == EPERM);
    if (!bRunning) {
        std::fprintf(stderr, "Tarnwick is not running (no live state report in %s).\n",
                     strPath.c_str());
        return 3;
    }
    std::fputs(strText.c_str(), stdout);
    return 0;
}

int PrintHistory() {
    const std::string strPath =
        CXdgStateStore::DefaultStateDir() + "/" + COutageHistory::kHistoryFile;
    CXdgStateStore store(CXdgStateStore::DefaultStateDir(), std::string());
    std::vector<std::string> lines;
    if (!store.ReadLines(COutageHistory::kHistoryFile, lines) &&
        access(strPath.c_str(), F_OK) == 0) {
        std::fprintf(stderr, "tarnwick: %s\n", store.LastError().c_str());
        return 1;
    }
    std::printf("Outage history (%s)\n\n%s", strPath.c_str(),
                FormatHistoryReport(lines, static_cast<std::int64_t>(std::time(nullptr))).c_str());
    return 0;
}

std::string SignalName(int nSignal) {
    switch (nSignal) {
    case SIGTERM:
        return "SIGTERM";
    case SIGINT:
        return "SIGINT";
    case SIGHUP:
        return "SIGHUP";
    default:
        return "signal " + std::to_string(nSignal);
    }
}

std::string ConfigDir() {
    const std::string strProfile = CKeyFileProfileStore::DefaultPath();
    // .../Tarnwick/Tarnwick.conf -> ...
    return strProfile.substr(0, strProfile.rfind('/', strProfile.rfind('/') - 1));
}
} // namespace

int main(int argc, char* argv[]) {
    // Options first: an action that only reads starts no watchdog, no tray, no bus.
    EMode mode = EMode::Run;
    bool bVerbose = false;
    if (!ParseOptions(argc, argv, mode, bVerbose)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    switch (mode) {
    case EMode::Help:
        std::fputs(kUsage, stdout);
        return 0;
    case EMode::Version: {
        std::string strVersion = GetProductVersionText();
        std::replace(strVersion.begin(), strVersion.end(), '\n', ' ');
        // The product's own version text, and the full version the package carries.
        std::printf("%s (%s)\n", strVersion.c_str(), TARNWICK_VERSION_DOTTED);
        return 0;
    }
    case EMode::Status:
        return PrintStatus();
    case EMode::History:
        return PrintHistory();
    case EMode::Run:
        break;
    }

    AllowHeadless();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Each dialog, the file chooser and the questions carry the program icon themselves. Not
    // set for the whole application: the tray icon's own window would then hand every size of
    // it to the X server, decoding the 256-pixel one and leaving the heap 1 MB larger for good.

    // The journal when the service manager made standard error its stream, else standard error.
    const LogLevel maxLevel = bVerbose ? LogLevel::Debug : LogLevel::Info;
    std::unique_ptr<ILog> pLog;
    if (CJournalLog::IsStderrJournal())
        pLog = std::make_unique<CJournalLog>(maxLevel);
    else
        pLog = std::make_unique<CStderrLog>(maxLevel);
    ILog& log = *pLog;
    // Before anything that can block: a quit request must be able to end a dial or probe.
    CSignalWatcher signalWatcher(log);
    CSystemBus systemBus(log);
    CKeyFileProfileStore profile(CKeyFileProfileStore::DefaultPath(), log);
    CQtTimerService timers;
    CNmDialUpService dialUp(systemBus, log, signalWatcher.AbortFd());
    CDlModuleLoader modules;
    CLogindPowerService power(systemBus);
    CPosixNetService net(signalWatcher.AbortFd());
    CLinuxFileTimes files;
    CProcFsProcessList processes(argc > 0 ? argv[0] : "tarnwick");
    CLocalClock clock;
    CXdgAutorunStore autorun(ConfigDir());
    CQtShellTray shell;
    CQtUserInterface ui;
    ui.SetQuitRequested([&signalWatcher] { return signalWatcher.IsQuitRequested(); });
    CXdgStateStore state(CXdgStateStore::DefaultStateDir(), CXdgStateStore::DefaultStatusPath());
    CServices services{profile,   timers, dialUp,  modules, power, net, files,
                       processes, clock,  autorun, shell,   ui,    log, state};

    CTarnwickApp app(services);
    QObject::connect(&signalWatcher, &CSignalWatcher::QuitRequested, &application,
                     [&app](int nSignal) {
                         app.SetExitReason(SignalName(nSignal) + " received");
                         QCoreApplication::quit();
                     });
    // "Exit Tarnwick" and the session's end quit the loop the same way; anything that would
    // still block on the way out ends at once.
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &signalWatcher,
                     &CSignalWatcher::RequestQuit);
    // The desktop session is ending: keep what changed in memory, as an exit would.
    QObject::connect(&application, &QGuiApplication::commitDataRequest,
                     [&app](QSessionManager&) { app.SaveOnExit(); });
    // SIGHUP or an edit of the settings file: the running program takes the file's values.
    QObject::connect(&signalWatcher, &CSignalWatcher::ReloadRequested, &application,
                     [&app] { app.OnReloadRequest(); });
    CQtProfileWatcher profileWatcher(QString::fromStdString(profile.GetPath()));
    QObject::connect(&profileWatcher, &CQtProfileWatcher::Changed, &application,
                     [&app] { app.OnProfileChanged(); });

    int nResult = 0;
    if (app.InitInstance())
        nResult = QApplication::exec();
    app.ExitInstance();
    return nResult;
}
