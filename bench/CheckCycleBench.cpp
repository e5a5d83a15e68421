// Prints what one check cycle costs with all three checks on, each over the real thing: the
// connection state from the NetworkManager client against the stand-in on the sandbox's
// private bus (one active connection), the modification time of a file that is rewritten
// between cycles (and not held open), and a TCP probe of a loopback listener.
//
//   check_cycle_bench [RUNS]      (default 200; 20 more warm up first)
#include "CFakeServices.h"
#include "CLoopbackListener.h"
#include "CNmMock.h"
#include "CTestSandbox.h"
#include "Measure.h"

#include "app/CTarnwickApp.h"
#include "engine/CMainFrame.h"
#include "engine/TimerIds.h"
#include "platform/linux/CLinuxFileTimes.h"
#include "platform/linux/CNmDialUpService.h"
#include "platform/linux/CPosixNetService.h"
#include "platform/linux/CStderrLog.h"
#include "platform/linux/CSystemBus.h"

#include <QCoreApplication>

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tarnwick;

namespace {
// Rewrites the file, closes it and moves its time on by a second: every cycle sees a change,
// however coarse the file system's clock.
void Rewrite(const std::string& strPath, int nCycle) {
    const int fd = open(strPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    [[maybe_unused]] const ssize_t n = write(fd, "alive\n", 6);
    const timespec times[2] = {{1700000000 + nCycle, 0}, {1700000000 + nCycle, 0}};
    futimens(fd, times);
    close(fd);
}
} // namespace

int main(int argc, char* argv[]) {
    const int nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    QCoreApplication application(argc, argv);
    CTestSandbox sandbox;
    if (!sandbox.IsReady()) {
        std::fprintf(stderr, "%s\n", qPrintable(sandbox.Error()));
        return 1;
    }
    CNmMock mock(sandbox.SystemBus());
    mock.Activate(mock.AddProfile("Modem"));
    CLoopbackListener listener;
    const std::string strFile = sandbox.Root().toStdString() + "/alive";

    CFakeServices fakes;
    CStderrLog nmLog;
    CSystemBus systemBus(nmLog, sandbox.BusAddress());
    CNmDialUpService dialUp(systemBus, nmLog);
    CLinuxFileTimes files;
    CPosixNetService net;
    CServices services{fakes.profile, fakes.timers, dialUp,          fakes.modules, fakes.power,
                       net,           files,        fakes.processes, fakes.clock,   fakes.autorun,
                       fakes.shell,   fakes.ui,     fakes.log,       fakes.state};
    CTarnwickApp app(services);
    AppSettings& s = app.GetSettings();
    s.bCheckConnState = s.bCheckFileRefresh = s.bCheckURLDownload = 1;
    s.sDefaultConnection = "Modem";
    s.sFileRefresh = strFile;
    s.sURLDownload = "127.0.0.1:" + std::to_string(listener.Port());
    app.InitInstance();

    int nCycle = 0;
    int nFaults = 0;
    const auto cycle = [&](bool bConn, bool bFile, bool bProbe) {
        return [&, bConn, bFile, bProbe] {
            Rewrite(strFile, ++nCycle);
            // What NetworkManager said meanwhile arrives between cycles, as in the program.
            QCoreApplication::processEvents();
            s.bCheckConnState = bConn;
            s.bCheckFileRefresh = bFile;
            s.bCheckURLDownload = bProbe;
            app.GetMainWnd()->OnTimer(IDT_CHECK);
            nFaults += app.GetMainWnd()->GetFaultCount();
            if (bProbe)
                listener.AcceptOne(); // keeps the listen queue short
        };
    };
    Measure("check cycle: connection + file + TCP probe", 20, nRuns, cycle(true, true, true));
    Measure("  connection state only", 20, nRuns, cycle(true, false, false));
    Measure("  file time only", 20, nRuns, cycle(false, true, false));
    Measure("  TCP probe only", 20, nRuns, cycle(false, false, true));
    app.ExitInstance();
    // Figures of failing checks would measure the wrong thing.
    if (nFaults != 0)
        std::printf("%d failed cycles: the figures are not those of passing checks\n", nFaults);
    return nFaults == 0 ? 0 : 1;
}
