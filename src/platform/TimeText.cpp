#include "platform/TimeText.h"

#include <cstdio>

namespace tarnwick {

namespace {
// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct SCivil {
    std::int64_t y;
    unsigned m;
    unsigned d;
};

SCivil CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}
} // namespace

std::string FormatIsoTime(std::int64_t tUnix, int nUtcOffset) {
    const std::int64_t tLocal = tUnix + nUtcOffset;
    const std::int64_t nDays = FloorDiv(tLocal, 86400);
    const auto nSecs = static_cast<unsigned>(tLocal - nDays * 86400);
    const SCivil c = CivilFromDays(nDays);
    const auto nAbs = static_cast<unsigned>(nUtcOffset < 0 ? -nUtcOffset : nUtcOffset);
    if (c.y < 0 || c.y > 9999) {
        char sz[64];
        std::snprintf(sz, sizeof sz, "%04lld-%02u-%02uT%02u:%02u:%02u%c%02u:%02u",
                      static_cast<long long>(c.y), c.m, c.d, nSecs / 3600, nSecs / 60 % 60,
                      nSecs % 60, nUtcOffset < 0 ? '-' : '+', nAbs / 3600, nAbs / 60 % 60);
        return sz;
    }
    // Written digit by digit: this runs at every check, and printf's machinery is most of
    // what formatting would cost there.
    std::string strOut = "0000-00-00T00:00:00+00:00";
    auto fnPut = [&strOut](std::size_t nEnd, unsigned nValue) {
        for (std::size_t i = nEnd; nValue != 0; nValue /= 10)
            strOut[--i] = static_cast<char>('0' + nValue % 10);
    };
    fnPut(4, static_cast<unsigned>(c.y));
    fnPut(7, c.m);
    fnPut(10, c.d);
    fnPut(13, nSecs / 3600);
    fnPut(16, nSecs / 60 % 60);
    fnPut(19, nSecs % 60);
    strOut[19] = nUtcOffset < 0 ? '-' : '+';
    fnPut(22, nAbs / 3600 % 100);
    fnPut(25, nAbs / 60 % 60);
    return strOut;
}

bool ParseIsoTime(const std::string& strText, std::int64_t& tUnix) {
    int y = 0;
    unsigned mo = 0, d = 0, h = 0, mi = 0, s = 0;
    int nUsed = 0;
    if (std::sscanf(strText.c_str(), "%4d-%2u-%2uT%2u:%2u:%2u%n", &y, &mo, &d, &h, &mi, &s,
                    &nUsed) != 6 ||
        nUsed != 19)
        return false;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 60)
        return false;
    const std::string strZone = strText.substr(19);
    int nOffset = 0;
    if (strZone != "Z") {
        unsigned oh = 0, om = 0;
        int nZoneUsed = 0;
        if (strZone.size() != 6 || (strZone[0] != '+' && strZone[0] != '-') ||
            std::sscanf(strZone.c_str() + 1, "%2u:%2u%n", &oh, &om, &nZoneUsed) != 2 ||
            nZoneUsed != 5 || oh > 23 || om > 59)
            return false;
        nOffset = static_cast<int>(oh * 3600 + om * 60) * (strZone[0] == '-' ? -1 : 1);
    }
    tUnix = DaysFromCivil(y, mo, d) * 86400 + std::int64_t{h} * 3600 + std::int64_t{mi} * 60 + s -
            nOffset;
    return true;
}

std::string FormatClock(std::int64_t tUnix, int nUtcOffset) {
    return FormatIsoTime(tUnix, nUtcOffset).substr(11, 5);
}

std::string FormatDuration(std::int64_t nSeconds) {
    if (nSeconds < 0)
        nSeconds = 0;
    char sz[48];
    if (nSeconds < 60)
        std::snprintf(sz, sizeof sz, "%lld s", static_cast<long long>(nSeconds));
    else if (nSeconds < 3600)
        std::snprintf(sz, sizeof sz, "%lld min %02lld s", static_cast<long long>(nSeconds / 60),
                      static_cast<long long>(nSeconds % 60));
    else if (nSeconds < 86400)
        std::snprintf(sz, sizeof sz, "%lld h %02lld min", static_cast<long long>(nSeconds / 3600),
                      static_cast<long long>(nSeconds / 60 % 60));
    else
        std::snprintf(sz, sizeof sz, "%lld d %02lld h", static_cast<long long>(nSeconds / 86400),
                      static_cast<long long>(nSeconds / 3600 % 24));
    return sz;
}

} // namespace tarnwick
