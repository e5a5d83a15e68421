#pragma once

#include "platform/IClock.h"

namespace tarnwick {

// The local time of day from the system clock and time zone.
class CLocalClock : public IClock {
public:
    SLocalTime GetLocalTime() override;
    std::int64_t GetWallTime() override;
    SLocalTime LocalTimeAt(std::int64_t nTime) override;
    int GetUtcOffset(std::int64_t nTime) override;
};

} // namespace tarnwick
