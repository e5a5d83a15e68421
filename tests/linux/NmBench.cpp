// Figures, not assertions: what one check cycle's connection check and the tray menu's entry
// list cost against the NetworkManager stand-in on a private bus.
#include "CNmMock.h"
#include "CTestSandbox.h"

#include "platform/CRasManager.h"
#include "platform/linux/CNmDialUpService.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
struct SFigures {
    double dMedianMs;
    double dMinMs;
    double dMaxMs;
};

SFigures Measure(int nRuns, const std::function<void()>& fn) {
    std::vector<double> times;
    for (int i = 0; i < nRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        fn();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front(), times.back()};
}

void Print(const char* pszWhat, const SFigures& figures) {
    std::printf("%-58s median %7.2f ms  (min %7.2f, max %7.2f)\n", pszWhat, figures.dMedianMs,
                figures.dMinMs, figures.dMaxMs);
}

TEST(NmBench, CheckCycleAndEntryList) {
    CTestSandbox sandbox(CTestSandbox::SOptions{true, false});
    ASSERT_TRUE(sandbox.IsReady()) << sandbox.Error().toStdString();
    CNmMock mock(sandbox.SystemBus());
    CNmDialUpService service(sandbox.SystemBus());
    CRasManager ras(service);

    const QString strModem = mock.AddProfile("Modem");
    mock.Activate(strModem);
    bool bConnected = false;
    Print("IsConnected, 1 profile, 1 active connection",
          Measure(200, [&] { bConnected = ras.IsConnected("modem"); }));
    EXPECT_TRUE(bConnected);

    for (int i = 1; i < 100; ++i)
        mock.AddProfile(QStringLiteral("Profile %1").arg(i));
    Print("IsConnected, 100 profiles, 1 active connection",
          Measure(200, [&] { bConnected = ras.IsConnected("modem"); }));
    std::size_t nEntries = 0;
    Print("EnumEntryNames, 100 profiles (tray menu's entry list)",
          Measure(50, [&] { nEntries = ras.EnumEntryNames().size(); }));
    EXPECT_EQ(nEntries, 100u);
}
} // namespace
