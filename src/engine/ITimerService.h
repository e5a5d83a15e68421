#pragma once

#include "platform/ILog.h"

#include <cstdint>
#include <string>

namespace tarnwick {

// Receives the expiry of the timers armed through an ITimerService.
class ITimerHandler {
public:
    virtual ~ITimerHandler() = default;
    virtual void OnTimer(unsigned nIDEvent) = 0;
};

// Repeating timers identified by number, like a window's timers: arming an armed timer
// restarts it with the new period; a timer fires until it is killed. SetTimer is false when
// the system refused the timer, which then never fires.
class ITimerService {
public:
    virtual ~ITimerService() = default;
    virtual void SetHandler(ITimerHandler* pHandler) = 0;
    virtual bool SetTimer(unsigned nIDEvent, std::uint32_t nElapseMs) = 0;
    virtual void KillTimer(unsigned nIDEvent) = 0;
};

// The longest period a timer accepts (what a signed 32-bit millisecond count holds).
inline constexpr std::uint32_t kMaxTimerPeriodMs = 0x7FFFFFFFu;

// Arms a timer; a refusal is logged as an error with what it costs (pszLost: what will not
// happen). False when the timer will not fire.
inline bool ArmTimer(ITimerService& timers, ILog& log, unsigned nIDEvent, std::uint32_t nElapseMs,
                     const char* pszLost) {
    if (timers.SetTimer(nIDEvent, nElapseMs))
        return true;
    log.Write(LogLevel::Error, "timer",
              "the system refused timer " + std::to_string(nIDEvent) + " (" +
                  std::to_string(nElapseMs) + " ms): " + pszLost);
    return false;
}

} // namespace tarnwick
