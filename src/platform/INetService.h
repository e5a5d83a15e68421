#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

// The IPv4 socket layer used by the reachability probe. Addresses are in network byte order.
class INetService {
public:
    virtual ~INetService() = default;
    // Converts a dotted IPv4 text; false when it is not one.
    virtual bool InetAddr(const std::string& strDotted, std::uint32_t& nAddr) = 0;
    // Looks the host name up and gives its first IPv4 address; false when there is none.
    virtual bool ResolveIPv4(const std::string& strHost, std::uint32_t& nAddr) = 0;
    // Opens a TCP connection to the address and port and closes it at once; true when the
    // connection was established. Bounded in time.
    virtual bool Connect(std::uint32_t nAddr, std::uint16_t nPort) = 0;
};

} // namespace tarnwick
