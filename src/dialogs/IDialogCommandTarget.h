#pragma once

namespace tarnwick {

// The top-level dialog as the pages see it: where Enter and Escape typed inside a page go,
// as the commands ID::Ok and ID::Cancel.
class IDialogCommandTarget {
public:
    virtual ~IDialogCommandTarget() = default;
    virtual void OnDialogCommand(int nID) = 0;
};

} // namespace tarnwick
