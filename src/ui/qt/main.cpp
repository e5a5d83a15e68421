// Tarnwick: keeps a modem Internet link alive on an unattended machine.
#include "app/CServices.h"
#include "app/CTarnwickApp.h"
#include "platform/linux/CDlModuleLoader.h"
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
#include "ui/qt/CQtShellTray.h"
#include "ui/qt/CQtTimerService.h"
#include "ui/qt/CQtUserInterface.h"
#include "ui/qt/CSignalWatcher.h"

#include <QApplication>
#include <QSessionManager>

#include <cstdlib>
#include <cstring>
#include <string>

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

std::string ConfigDir() {
    const std::string strProfile = CKeyFileProfileStore::DefaultPath();
    // .../Tarnwick/Tarnwick.conf -> ...
    return strProfile.substr(0, strProfile.rfind('/', strProfile.rfind('/') - 1));
}
} // namespace

int main(int argc, char* argv[]) {
    AllowHeadless();
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tarnwick");
    QApplication::setQuitOnLastWindowClosed(false);

    CStderrLog log;
    // Before anything that can block: a quit request must be able to end a dial or probe.
    CSignalWatcher signalWatcher(log);
    QObject::connect(&signalWatcher, &CSignalWatcher::QuitRequested, &application,
                     [&log](int nSignal) {
                         log.Write(LogLevel::Notice, "exit",
                                   std::string("quit requested by ") + strsignal(nSignal));
                         QCoreApplication::quit();
                     });
    // "Exit Tarnwick" and the session's end quit the loop the same way; anything that would
    // still block on the way out ends at once.
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &signalWatcher,
                     &CSignalWatcher::RequestQuit);

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
    CServices services{profile,   timers, dialUp,  modules, power, net, files,
                       processes, clock,  autorun, shell,   ui,    log};

    CTarnwickApp app(services);
    // The desktop session is ending: keep what changed in memory, as an exit would.
    QObject::connect(&application, &QGuiApplication::commitDataRequest,
                     [&app](QSessionManager&) { app.SaveOnExit(); });

    int nResult = 0;
    if (app.InitInstance())
        nResult = QApplication::exec();
    app.ExitInstance();
    return nResult;
}
