#include "platform/ShutdownTime.h"

#include "platform/GetField.h"
#include "platform/IClock.h"
#include "platform/TextUtil.h"

#include <algorithm>

namespace tarnwick {

bool ParseShutdownTime(const std::string& strTime, int& nHour, int& nMinute) {
    nHour = AtoI(GetField(strTime, 1, ':'));
    nMinute = AtoI(GetField(strTime, 2, ':'));
    if (std::none_of(strTime.begin(), strTime.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    return nHour >= 0 && nHour <= 23 && nMinute >= 0 && nMinute <= 59;
}

std::int64_t NextLocalTime(IClock& clock, std::int64_t nAfter, int nHour, int nMinute) {
    const SLocalTime now = clock.LocalTimeAt(nAfter);
    int dMinutes = (nHour * 60 + nMinute) - (now.nHour * 60 + now.nMinute);
    if (dMinutes <= 0)
        dMinutes += 24 * 60;
    const std::int64_t nGuess = nAfter - now.nSecond + std::int64_t{dMinutes} * 60;
    // The guess counts the local day as 24 hours; where the offset from UTC changes in
    // between, move it by what the local time there says it is off.
    std::int64_t nTime = nGuess;
    for (int i = 0; i < 3; ++i) {
        const SLocalTime at = clock.LocalTimeAt(nTime);
        int nOff = (at.nHour * 60 + at.nMinute) - (nHour * 60 + nMinute);
        nOff = (nOff + 36 * 60) % (24 * 60) - 12 * 60; // -12 h .. +12 h
        if (nOff == 0)
            return nTime > nAfter ? nTime : nGuess;
        nTime -= std::int64_t{nOff} * 60;
    }
    // A time the local clock skips (in the hour lost in spring): as far on as the day is long.
    return nGuess > nAfter ? nGuess : nAfter + 60;
}

} // namespace tarnwick
