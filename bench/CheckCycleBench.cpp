// Prints what one check cycle costs with all three checks on: the connection state (over a
// fake dial-up service), the file time (a real file) and the TCP probe (a real loopback
// listener).
#include "CFakeServices.h"
#include "CLoopbackListener.h"

#include "app/CTarnwickApp.h"
#include "engine/CMainFrame.h"
#include "engine/TimerIds.h"
#include "platform/linux/CLinuxFileTimes.h"
#include "platform/linux/CPosixNetService.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace tarnwick;

int main(int argc, char* argv[]) {
    const int nCycles = argc > 1 ? std::atoi(argv[1]) : 2000;

    CLoopbackListener listener;

    char szFile[] = "/tmp/tarnwick-bench-XXXXXX";
    const int fdFile = mkstemp(szFile);

    CFakeServices fakes;
    CLinuxFileTimes files;
    CPosixNetService net;
    CServices services{fakes.profile, fakes.timers, fakes.dialUp,    fakes.modules, fakes.power,
                       net,           files,        fakes.processes, fakes.clock,   fakes.autorun,
                       fakes.shell,   fakes.ui,     fakes.log};
    CTarnwickApp app(services);
    AppSettings& s = app.m_AppSettings;
    s.bCheckConnState = s.bCheckFileRefresh = s.bCheckURLDownload = 1;
    s.sDefaultConnection = "Modem";
    s.sFileRefresh = szFile;
    s.sURLDownload = "127.0.0.1:" + std::to_string(listener.Port());
    fakes.dialUp.Connect("Modem");
    app.InitInstance();

    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < nCycles; ++i) {
        [[maybe_unused]] const ssize_t n = write(fdFile, "x", 1);
        app.GetMainWnd()->OnTimer(IDT_CHECK);
        listener.AcceptOne(); // keep the listen queue short
    }
    const double dUs =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
    std::printf("check cycle (connection + file + TCP probe on loopback): %.1f us per cycle "
                "over %d cycles; faults: %d\n",
                dUs / nCycles, nCycles, app.m_nFaultCount);
    app.ExitInstance();
    close(fdFile);
    unlink(szFile);
    return 0;
}
