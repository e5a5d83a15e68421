#pragma once

namespace tarnwick {

class ITabControl;

// The window of a modal dialog, as its dialog object sees it.
class IDialogWindow {
public:
    virtual ~IDialogWindow() = default;
    // The tab control with this id, or nullptr.
    virtual ITabControl* GetTabControl(int nID) = 0;
    // Ends the modal loop with nResult (ID::Ok or ID::Cancel); the window goes afterwards.
    virtual void EndDialog(int nResult) = 0;
};

} // namespace tarnwick
