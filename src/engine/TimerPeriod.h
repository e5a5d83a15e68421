#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/ITimerService.h"

namespace tarnwick {

// A timer period from a stored value: values below nMin count as nMin (a hand-edited 0
// must not arm a timer that fires without pause), computed in 64 bits and capped at what a
// timer accepts.
inline std::uint32_t PeriodMs(std::int32_t nValue, std::int32_t nMin, std::uint32_t nUnitMs) {
    const std::int64_t nMs = std::int64_t{(std::max)(nValue, nMin)} * std::int64_t{nUnitMs};
    return static_cast<std::uint32_t>((std::min<std::int64_t>)(nMs, kMaxTimerPeriodMs));
}

} // namespace tarnwick
