#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

// Local time as ISO 8601 with its offset, "2026-12-07T03:12:05+01:00".
std::string FormatIsoTime(std::int64_t tUnix, int nUtcOffset);
// Reads what FormatIsoTime writes (also "Z" for UTC) back into seconds since 1970; false when
// the text is not such a time.
bool ParseIsoTime(const std::string& strText, std::int64_t& tUnix);
// "03:12" of the local time.
std::string FormatClock(std::int64_t tUnix, int nUtcOffset);
// "45 s", "3 min 10 s", "2 h 05 min", "3 d 04 h".
std::string FormatDuration(std::int64_t nSeconds);

} // namespace tarnwick
