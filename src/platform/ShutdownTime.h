#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

// The time to wait from now (nHour:nMinute, local) until the next occurrence of the
// shutdown time "H:M" strictly after the current minute. False when the text holds no digit
// or names no valid time of day.
bool GetShutdownDelayMs(const std::string& strTime, int nHour, int nMinute,
                        std::uint32_t& nDelayMs);

} // namespace tarnwick
