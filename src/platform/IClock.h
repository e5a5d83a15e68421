#pragma once

#include <cstdint>

namespace tarnwick {

// The local wall-clock time.
struct SLocalTime {
    int nHour;
    int nMinute;
    int nSecond;
};

class IClock {
public:
    virtual ~IClock() = default;
    virtual SLocalTime GetLocalTime() = 0;
    // Seconds since the epoch, as the wall clock says now (it may step or jump).
    virtual std::int64_t GetWallTime() = 0;
    // The local time of day at a moment of the wall clock, in the system's time zone.
    virtual SLocalTime LocalTimeAt(std::int64_t nTime) = 0;
    // The local time zone's offset from UTC at that moment, in seconds east of Greenwich.
    virtual int GetUtcOffset(std::int64_t nTime) = 0;
};

} // namespace tarnwick
