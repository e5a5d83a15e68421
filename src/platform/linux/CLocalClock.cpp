#include "platform/linux/CLocalClock.h"

#include <ctime>

namespace tarnwick {

SLocalTime CLocalClock::GetLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_hour, local.tm_min, local.tm_sec};
}

std::int64_t CLocalClock::GetUnixTime() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

int CLocalClock::GetUtcOffset(std::int64_t tUnix) {
    const auto t = static_cast<std::time_t>(tUnix);
    std::tm local{};
    localtime_r(&t, &local);
    return static_cast<int>(local.tm_gmtoff);
}

} // namespace tarnwick
