#include "platform/linux/CLocalClock.h"

#include <ctime>

namespace tarnwick {

SLocalTime CLocalClock::GetLocalTime() {
    return LocalTimeAt(GetWallTime());
}

std::int64_t CLocalClock::GetWallTime() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

SLocalTime CLocalClock::LocalTimeAt(std::int64_t nTime) {
    const auto now = static_cast<std::time_t>(nTime);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_hour, local.tm_min, local.tm_sec};
}

int CLocalClock::GetUtcOffset(std::int64_t nTime) {
    const auto t = static_cast<std::time_t>(nTime);
    std::tm local{};
    localtime_r(&t, &local);
    return static_cast<int>(local.tm_gmtoff);
}

} // namespace tarnwick
