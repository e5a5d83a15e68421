#pragma once

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
};

} // namespace tarnwick
