#pragma once

namespace tarnwick {

struct AppSettings;
class IFrameStatus;

// The owner of the settings, as the settings dialog sees it: the settings to edit, the
// running frame's status for the pages, and what OK does with the edited settings.
class IParamsHost {
public:
    virtual ~IParamsHost() = default;
    virtual AppSettings& GetSettings() = 0;
    // nullptr before the frame exists.
    virtual IFrameStatus* GetFrameStatus() = 0;
    // Saves the settings and applies them as start-up does: autorun, shutdown timer, check
    // timer and fault counter.
    virtual void ApplySettings() = 0;
};

} // namespace tarnwick
