#include "engine/SettingLimits.h"

#include "engine/AppSettings.h"
#include "platform/ILog.h"

#include <algorithm>

namespace tarnwick {

namespace {
struct SLimit {
    const char* pszName;
    std::int32_t AppSettings::*pField;
    std::int32_t nMin;
    std::int32_t nMax;
};

// The timer periods have no upper clamp of their own: a timer caps them where it must.
constexpr SLimit kLimits[] = {
    {"iCheckDelay", &AppSettings::iCheckDelay, 1, INT32_MAX},
    {"iMaxFaults", &AppSettings::iMaxFaults, 1, 100},
    {"iDataPort", &AppSettings::iDataPort, 0, 0xFFFF},
    {"iCtrlPort", &AppSettings::iCtrlPort, 0, 0xFFFF},
    {"iDataPortMask", &AppSettings::iDataPortMask, 0, 255},
    {"iCtrlPortMask", &AppSettings::iCtrlPortMask, 0, 255},
    {"iModemOffTime", &AppSettings::iModemOffTime, 1, INT32_MAX},
    {"iModemWaitTime", &AppSettings::iModemWaitTime, 5, INT32_MAX},
};
} // namespace

std::int32_t EffectiveMaxFaults(const AppSettings& s) {
    return std::clamp(s.iMaxFaults, 1, 100);
}

std::uint16_t EffectivePortMask(std::int32_t nMask) {
    return static_cast<std::uint16_t>(std::clamp(nMask, 0, 255));
}

std::uint16_t EffectivePortAddress(std::int32_t nPort) {
    return static_cast<std::uint16_t>(std::clamp(nPort, 0, 0xFFFF));
}

void LogOutOfRangeSettings(const AppSettings& s, ILog& log) {
    for (const SLimit& limit : kLimits) {
        const std::int32_t nValue = s.*limit.pField;
        const std::int32_t nUsed = std::clamp(nValue, limit.nMin, limit.nMax);
        if (nUsed != nValue)
            log.Write(LogLevel::Warning, "settings",
                      std::string(limit.pszName) + "=" + std::to_string(nValue) + " is outside " +
                          std::to_string(limit.nMin) + ".." +
                          (limit.nMax == INT32_MAX ? std::string() : std::to_string(limit.nMax)) +
                          ": " + std::to_string(nUsed) + " is used; the stored value is kept");
    }
}

} // namespace tarnwick
