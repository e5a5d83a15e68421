// Tarnwick: keeps a modem Internet link alive on an unattended machine.
#include "platform/windows/Win32.h"

#include "app/CTarnwickApp.h"
#include "engine/CServices.h"
#include "platform/windows/CRasDialUpService.h"
#include "platform/windows/CRegistryProfileStore.h"
#include "platform/windows/CToolhelpProcessList.h"
#include "platform/windows/CWinAutorunStore.h"
#include "platform/windows/CWinClock.h"
#include "platform/windows/CWinFileLog.h"
#include "platform/windows/CWinFileTimes.h"
#include "platform/windows/CWinModuleLoader.h"
#include "platform/windows/CWinPowerService.h"
#include "platform/windows/CWinStateStore.h"
#include "platform/windows/CWinsockNetService.h"
#include "ui/win32/CWin32MainWindow.h"
#include "ui/win32/CWin32ShellTray.h"
#include "ui/win32/CWin32TimerService.h"
#include "ui/win32/CWin32UserInterface.h"

#include <clocale>

using namespace tarnwick;

namespace {
int __stdcall RequestExitWindows(unsigned uFlags, unsigned long dwReason) {
    return ::ExitWindowsEx(uFlags, dwReason);
}
} // namespace

int main(int argc, char* argv[]) {
    // Texts are in the system's ANSI code page: case and comparisons follow it.
    std::setlocale(LC_ALL, "");
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // DLLs are never looked for in the current folder.
    SetDllDirectoryA("");

    CWinFileLog log(CWinFileLog::DefaultPath());
    CWin32MainWindow window;
    CRegistryProfileStore profile;
    CWin32TimerService timers(window);
    CRasDialUpService dialUp(log);
    CWinModuleLoader modules;
    CWinPowerService power(log, &RequestExitWindows);
    CWinsockNetService net(log);
    CWinFileTimes files;
    CToolhelpProcessList processes(argc > 0 ? argv[0] : "tarnwick.exe");
    CWinClock clock;
    CWinAutorunStore autorun(log, CWinAutorunStore::kRunKey, CWinAutorunStore::DefaultWinIniPath());
    CWin32ShellTray shell(window);
    CWin32UserInterface ui(window);
    CWinStateStore state(CWinStateStore::DefaultStateDir());
    CServices services{profile,   timers, dialUp,  modules, power, net, files,
                       processes, clock,  autorun, shell,   ui,    log, state};

    CTarnwickApp app(services);
    // The session is ending: keep what changed in memory, as an exit would.
    window.SetEndSessionHandler([&app] { app.SaveOnExit(); });

    int nResult = 0;
    if (app.InitInstance())
        nResult = window.Run();
    app.ExitInstance();
    // After everything else is done, so that a box nobody closes holds up nothing.
    ui.ShowToldText();
    return nResult;
}
