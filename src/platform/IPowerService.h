#pragma once

#include <string>

// Flags of ExitSystem.
inline constexpr unsigned EWX_SHUTDOWN = 1;
inline constexpr unsigned EWX_REBOOT = 2;
inline constexpr unsigned EWX_FORCE = 4;

// Asks the system to reboot or power off.
class IPowerService {
public:
    virtual ~IPowerService() = default;
    // EWX_REBOOT or EWX_SHUTDOWN; the request is always forced. True only when the system
    // accepted the request.
    virtual bool ExitSystem(unsigned uFlags) = 0;
    // The system's answer to the last refused request, for the log; empty when it gave none.
    virtual std::string LastError() const { return std::string(); }
};
