#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace tarnwick {

// Runs fn nWarmUp times unmeasured, then nRuns times, and prints the least, the median and the
// greatest wall time of one run, and the median CPU time this process spent in it (all its
// threads). On a busy machine the wall times spread; the CPU time hardly does.
inline void Measure(const char* pszWhat, int nWarmUp, int nRuns, const std::function<void()>& fn) {
    for (int i = 0; i < nWarmUp; ++i)
        fn();
    const auto cpuNow = [] {
        timespec ts{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
    };
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < nRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const double dCpuStart = cpuNow();
        fn();
        cpu.push_back(cpuNow() - dCpuStart);
        wall.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    if (wall.empty())
        return;
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("%-52s wall min %7.2f median %7.2f max %7.2f ms, CPU median %7.2f ms (%d runs)\n",
                pszWhat, wall.front(), wall[wall.size() / 2], wall.back(), cpu[cpu.size() / 2],
                nRuns);
    std::fflush(stdout);
}

} // namespace tarnwick
