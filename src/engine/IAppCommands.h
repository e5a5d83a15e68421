#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

// What the frame asks of the application object, which sits above it: the about box and
// the settings dialog of the tray menu, the daily shutdown, and why the program ends.
class IAppCommands {
public:
    virtual ~IAppCommands() = default;
    // The about box; a second request while it is open does nothing.
    virtual void OnAppAbout() = 0;
    // The settings dialog, modal; OK saves and applies what it changed.
    virtual void OnAppSettings() = 0;
    // The shutdown timer fired.
    virtual void OnShutdownTimer() = 0;
    // When the next scheduled shutdown falls due (seconds since the epoch); 0 when none is.
    virtual std::int64_t GetShutdownDue() const = 0;
    // Why the program ends, for the log line at exit; the first reason given stands.
    virtual void SetExitReason(const std::string& strReason) = 0;
};

} // namespace tarnwick
