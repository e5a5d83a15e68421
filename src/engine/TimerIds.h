#pragma once

namespace tarnwick {

// Timers of the main frame.
inline constexpr unsigned IDT_TRAY_RETRY = 32779;
inline constexpr unsigned IDT_MODEM_POWER_OFF = 32780;
inline constexpr unsigned IDT_DIAL = 32781;
inline constexpr unsigned IDT_SHUTDOWN = 32782;
inline constexpr unsigned IDT_CHECK = 32783;

} // namespace tarnwick
