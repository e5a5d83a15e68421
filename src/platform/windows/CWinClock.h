#pragma once

#include "platform/IClock.h"

namespace tarnwick {

// The wall clock and the time zone of Windows.
class CWinClock : public IClock {
public:
    SLocalTime GetLocalTime() override;
    std::int64_t GetWallTime() override;
    SLocalTime LocalTimeAt(std::int64_t nTime) override;
    int GetUtcOffset(std::int64_t nTime) override;
};

} // namespace tarnwick
