// Prints what one check cycle costs with all three checks on, each over the real thing: the
// connection state from the NetworkManager client against the stand-in on the sandbox's
// private bus (one active connection), the modification time of a file that is rewritten
// between cycles (and not held open), and a TCP probe of a loopback listener.
//
//   check_cycle_bench [RUNS]      (default 200; 20 more warm up first)
#include "CBenchRig.h"
#include "CLoopbackListener.h"
#include "Measure.h"

#include "app/CTarnwickApp.h"
#include "engine/CMainFrame.h"
#include "engine/TimerIds.h"
#include "platform/linux/CLinuxFileTimes.h"
#include "platform/linux/CPosixNetService.h"

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
    CBenchRig rig;
    if (!rig.IsReady())
        return 1;
    CLoopbackListener listener;
    const std::string strFile = rig.m_sandbox.Root().toStdString() + "/alive";

    CLinuxFileTimes files;
    CPosixNetService net;
    CServices services = rig.Services(net, files, rig.m_fakes.shell, rig.m_fakes.ui);
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
    const unsigned nCallsBefore = rig.m_dialUp.CallCount();
    Measure("  connection state only", 20, nRuns, cycle(true, false, false));
    std::printf("  D-Bus calls per connection check: %.2f\n",
                double(rig.m_dialUp.CallCount() - nCallsBefore) / (20 + nRuns));
    Measure("  file time only", 20, nRuns, cycle(false, true, false));
    Measure("  TCP probe only", 20, nRuns, cycle(false, false, true));
    app.ExitInstance();
    // Figures of failing checks would measure the wrong thing.
    if (nFaults != 0)
        std::printf("%d failed cycles: the figures are not those of passing checks\n", nFaults);
    return nFaults == 0 ? 0 : 1;
}
