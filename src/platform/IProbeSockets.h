#pragma once

#include "platform/INetService.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick {

// A socket address with its port as the operating system lays it out (an IPv4 or IPv6 one),
// kept as bytes so that the portable probe can hold what the lookup found and hand it back.
struct SProbeAddress {
    std::vector<unsigned char> bytes;
};

// Finds the IPv4 and IPv6 addresses of strHost, with nPort: by name (bLookUp) or read as an
// address text (not bLookUp). Connected when addresses were found; NameNotFound or Unreachable with
// the cause in strDetail otherwise. A lookup runs on a thread of its own that may outlive
// the probe that started it, hence a free function.
using ProbeResolveFn = EConnectResult (*)(const std::string& strHost, bool bLookUp,
                                          std::uint16_t nPort,
                                          std::vector<SProbeAddress>& addresses,
                                          std::string& strDetail);

// The operating system's part of the reachability probe: the lookup, one non-blocking
// connection attempt at a time, and whether a quit request has come.
class IProbeSockets {
public:
    virtual ~IProbeSockets() = default;
    virtual ProbeResolveFn GetResolver() const = 0;
    // Starts an attempt to the address: true while it is pending, false when it ended at
    // once (result and strDetail say how).
    virtual bool StartConnect(const SProbeAddress& address, EConnectResult& result,
                              std::string& strDetail) = 0;
    // Waits up to nMs for the pending attempt: true when it ended, with its result.
    virtual bool WaitConnect(int nMs, EConnectResult& result, std::string& strDetail) = 0;
    // Closes the attempt's socket, pending or ended.
    virtual void CloseConnect() = 0;
    // True once the program is to quit: a probe in progress ends.
    virtual bool IsAborted() = 0;
};

} // namespace tarnwick
