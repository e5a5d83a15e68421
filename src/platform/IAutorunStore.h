#pragma once

#include <string>

namespace tarnwick {

// The two places that can start the program at log-on. Method 0 is the conventional one of
// the desktop (an XDG autostart entry on Linux), method 1 the system's service manager (a
// systemd user unit on Linux). Only the program's own entries are ever written or removed.
class IAutorunStore {
public:
    virtual ~IAutorunStore() = default;
    // Method 0: add (or overwrite) the entry that runs strCommand, or remove it.
    virtual bool SetRunKeyEntry(bool bAdd, const std::string& strCommand) = 0;
    // Method 1: the same for the second method.
    virtual bool SetWinIniEntry(bool bAdd, const std::string& strCommand) = 0;
};

} // namespace tarnwick
