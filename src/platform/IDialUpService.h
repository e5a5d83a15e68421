#pragma once

#include <string>
#include <vector>

namespace tarnwick {

// One active connection as the dial-up service lists it.
struct SActiveConnection {
    std::string strEntryName; // name of the phone-book entry it belongs to
    std::string strHandle;    // the service's own reference to the connection
    bool bDialUp = true;      // of a dial-up kind (modem, mobile broadband, DSL), not a LAN
};

// The operating system's dial-up service: the phone book and its live connections.
// All calls are synchronous and bounded; errors are reported as false, never thrown.
class IDialUpService {
public:
    virtual ~IDialUpService() = default;
    // The active connections in the service's order; false when they cannot be listed.
    virtual bool EnumConnections(std::vector<SActiveConnection>& connections) = 0;
    // True when the status of the connection can be read and it is not being hung up.
    virtual bool GetConnectStatus(const SActiveConnection& connection) = 0;
    // Starts hanging up the connection; does not wait for it to go.
    virtual bool HangUp(const SActiveConnection& connection) = 0;
    // Every phone-book entry name in the service's order; false when they cannot be listed.
    virtual bool EnumEntries(std::vector<std::string>& entries) = 0;
    // Dials the entry of exactly this name with its stored credentials and blocks until the
    // connection is up (true) or has failed (false). A failed dial leaves nothing half-open.
    virtual bool Dial(const std::string& strEntry) = 0;
    // Why the last call that failed did so, for the log; empty when the service cannot say.
    virtual std::string LastError() const { return std::string(); }
};

} // namespace tarnwick
