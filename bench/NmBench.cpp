// Figures, not assertions: what one check cycle's connection check and the tray menu's entry
// list cost against the NetworkManager stand-in on a private bus.
#include "CNmMock.h"
#include "CTestSandbox.h"

#include "platform/CRasManager.h"
#include "platform/linux/CNmDialUpService.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace tarnwick;

namespace {
// Runs fn nRuns times and prints the median, least and greatest time.
void Measure(const char* pszWhat, int nRuns, const std::function<void()>& fn) {
    std::vector<double> times;
    for (int i = 0; i < nRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        fn();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    std::printf("%-58s median %7.2f ms  (min %7.2f, max %7.2f)\n", pszWhat, times[times.size() / 2],
                times.front(), times.back());
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    CTestSandbox sandbox;
    if (!sandbox.IsReady()) {
        std::fprintf(stderr, "%s\n", qPrintable(sandbox.Error()));
        return 1;
    }
    CNmMock mock(sandbox.SystemBus());
    CNmDialUpService service(sandbox.SystemBus());
    CRasManager ras(service);

    mock.Activate(mock.AddProfile("Modem"));
    bool bConnected = true;
    Measure("IsConnected, 1 profile, 1 active connection", 200,
            [&] { bConnected = bConnected && ras.IsConnected("modem"); });
    for (int i = 1; i < 100; ++i)
        mock.AddProfile(QStringLiteral("Profile %1").arg(i));
    Measure("IsConnected, 100 profiles, 1 active connection", 200,
            [&] { bConnected = bConnected && ras.IsConnected("modem"); });
    std::size_t nEntries = 0;
    Measure("EnumEntryNames, 100 profiles (tray menu's entry list)", 50,
            [&] { nEntries = ras.EnumEntryNames().size(); });
    // Figures of calls that failed would mean nothing.
    return bConnected && nEntries == 100 ? 0 : 1;
}
