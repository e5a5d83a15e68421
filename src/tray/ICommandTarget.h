#pragma once

namespace tarnwick {

// Receives menu commands (the ids of res/Resource.h).
class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;
    // Runs the command's handler; false when no handler takes the id.
    virtual bool OnCommand(unsigned nID) = 0;
    // Posts the command to run once the current work is done.
    virtual void PostCommand(unsigned nID) = 0;
};

} // namespace tarnwick
