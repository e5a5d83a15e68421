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
    // Seconds since 1970-01-01 00:00 UTC.
    virtual std::int64_t GetUnixTime() = 0;
    // The local time zone's offset from UTC at that moment, in seconds east of Greenwich.
    virtual int GetUtcOffset(std::int64_t tUnix) = 0;
};

} // namespace tarnwick
