#include "platform/windows/Win32.h"

#include "platform/windows/CWinClock.h"

namespace tarnwick {

namespace {
// FILETIME counts 100 ns steps since 1601-01-01; the epoch is 11644473600 s later.
constexpr std::int64_t kEpochOffsetS = 11644473600LL;
constexpr std::int64_t kTicksPerS = 10000000LL;

SYSTEMTIME UtcAt(std::int64_t nTime) {
    const auto nTicks = static_cast<std::uint64_t>((nTime + kEpochOffsetS) * kTicksPerS);
    FILETIME ft{static_cast<DWORD>(nTicks & 0xFFFFFFFFu), static_cast<DWORD>(nTicks >> 32)};
    SYSTEMTIME utc{};
    FileTimeToSystemTime(&ft, &utc);
    return utc;
}

std::int64_t SecondsOf(const SYSTEMTIME& st) {
    FILETIME ft{};
    if (!SystemTimeToFileTime(&st, &ft))
        return 0;
    const std::uint64_t nTicks =
        (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<std::int64_t>(nTicks / kTicksPerS) - kEpochOffsetS;
}

// The local time at a moment, by the time zone rules in force that year.
SYSTEMTIME LocalAt(std::int64_t nTime) {
    const SYSTEMTIME utc = UtcAt(nTime);
    SYSTEMTIME local{};
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return utc;
    return local;
}
} // namespace

SLocalTime CWinClock::GetLocalTime() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return {now.wHour, now.wMinute, now.wSecond};
}

std::int64_t CWinClock::GetWallTime() {
    FILETIME ft{};
    GetSystemTimeAsFileTime(&ft);
    const std::uint64_t nTicks =
        (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<std::int64_t>(nTicks / kTicksPerS) - kEpochOffsetS;
}

SLocalTime CWinClock::LocalTimeAt(std::int64_t nTime) {
    const SYSTEMTIME local = LocalAt(nTime);
    return {local.wHour, local.wMinute, local.wSecond};
}

int CWinClock::GetUtcOffset(std::int64_t nTime) {
    return static_cast<int>(SecondsOf(LocalAt(nTime)) - nTime);
}

} // namespace tarnwick
