#pragma once

#include "platform/INetService.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tarnwick {

// A socket address with its port as the operating system lays it out (an IPv4 or IPv6 one),
// kept as bytes so that the portable probe can hold what the lookup found and hand it back.
struct SProbeAddress {
    std::vector<unsigned char> bytes;

    // Copies the address into a socket address buffer of nSize bytes; the length copied.
    std::size_t CopyTo(void* pTarget, std::size_t nSize) const {
        const std::size_t nLen = bytes.size() < nSize ? bytes.size() : nSize;
        std::memcpy(pTarget, bytes.data(), nLen);
        return nLen;
    }
};

// Keeps the entries of family nInet or nInet6 of an address list from getaddrinfo (either
// system's addrinfo) as addresses.
template <typename TAddrInfo>
void AppendProbeAddresses(const TAddrInfo* pList, int nInet, int nInet6,
                          std::vector<SProbeAddress>& addresses) {
    for (const TAddrInfo* p = pList; p != nullptr; p = p->ai_next) {
        if (p->ai_family != nInet && p->ai_family != nInet6)
            continue;
        const auto* pBytes = reinterpret_cast<const unsigned char*>(p->ai_addr);
        addresses.push_back({{pBytes, pBytes + p->ai_addrlen}});
    }
}

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
