#pragma once

#include <string>
namespace tarnwick {

// Flags of ExitSystem.
namespace EWX {
inline constexpr unsigned Shutdown = 1;
inline constexpr unsigned Reboot = 2;
inline constexpr unsigned Force = 4;
} // namespace EWX

// Asks the system to reboot or power off.
class IPowerService {
public:
    virtual ~IPowerService() = default;
    // EWX::Reboot or EWX::Shutdown; the request is always forced. True only when the system
    // accepted the request.
    virtual bool ExitSystem(unsigned uFlags) = 0;
    // The system's answer to the last refused request, for the log; empty when it gave none.
    virtual std::string LastError() const { return std::string(); }
};

} // namespace tarnwick
