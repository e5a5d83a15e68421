#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

class IClock;

// The hour and minute of a shutdown time "H:M". False when the text holds no digit or names
// no valid time of day.
bool ParseShutdownTime(const std::string& strTime, int& nHour, int& nMinute);

// The wall-clock moment (seconds since the epoch) of the next local nHour:nMinute:00 strictly
// after the minute of nAfter, found on the local calendar, so a change of daylight-saving
// time in between moves it as it moves the local time.
std::int64_t NextLocalTime(IClock& clock, std::int64_t nAfter, int nHour, int nMinute);

} // namespace tarnwick
