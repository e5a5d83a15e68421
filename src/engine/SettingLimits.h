#pragma once

#include <cstdint>

namespace tarnwick {

struct AppSettings;
class ILog;

// What the engine makes of a hand-edited value outside the range the parameters dialog
// offers: the value is used clamped to that range, as the dialog would show it, and the
// stored value stays as it is until the user confirms the dialog.

// The fault limit, 1 to 100: a limit of 0 or below would reboot at the first failed check,
// with neither a re-dial nor a power cycle before it.
std::int32_t EffectiveMaxFaults(const AppSettings& s);
// A relay mask, 0 to 255: one byte of a register, never bits beyond it.
std::uint16_t EffectivePortMask(std::int32_t nMask);
// A register address, 0 to 0xFFFF.
std::uint16_t EffectivePortAddress(std::int32_t nPort);

// Says in the log which stored values are out of range and what is used instead.
void LogOutOfRangeSettings(const AppSettings& s, ILog& log);

} // namespace tarnwick
