#pragma once

#include <cstdint>

namespace tarnwick {

// Receives the expiry of the timers armed through an ITimerService.
class ITimerHandler {
public:
    virtual ~ITimerHandler() = default;
    virtual void OnTimer(unsigned nIDEvent) = 0;
};

// Repeating timers identified by number, like a window's timers: arming an armed timer
// restarts it with the new period; a timer fires until it is killed.
class ITimerService {
public:
    virtual ~ITimerService() = default;
    virtual void SetHandler(ITimerHandler* pHandler) = 0;
    virtual void SetTimer(unsigned nIDEvent, std::uint32_t nElapseMs) = 0;
    virtual void KillTimer(unsigned nIDEvent) = 0;
};

// The longest period a timer accepts (what a signed 32-bit millisecond count holds).
inline constexpr std::uint32_t kMaxTimerPeriodMs = 0x7FFFFFFFu;

} // namespace tarnwick
