#pragma once

#include <string>
#include <vector>

namespace tarnwick {

// What the settings pages show of the running frame: whether the port module is loaded,
// and the connections to choose from.
class IFrameStatus {
public:
    virtual ~IFrameStatus() = default;
    virtual bool IsPortLibLoaded() const = 0;
    virtual const std::vector<std::string>& LoadEntryList() = 0;
};

} // namespace tarnwick
