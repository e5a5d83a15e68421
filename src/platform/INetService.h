#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

// How a probe's connection attempt ended.
enum class EConnectResult {
    Connected,
    Refused,      // the host answered: nothing listens on that port
    TimedOut,     // no answer within the bound
    NameNotFound, // the name lookup gave no address
    Unreachable,  // no route, network down, not an address, ...
    Aborted,      // a quit request ended it
};

// The socket layer used by the reachability probe.
class INetService {
public:
    virtual ~INetService() = default;
    // Converts a dotted IPv4 text into an address in network byte order; false when it is
    // not one.
    virtual bool InetAddr(const std::string& strDotted, std::uint32_t& nAddr) = 0;
    // Opens a TCP connection to the host and port and closes it at once. strHost is an IPv4
    // or IPv6 address in text, used as it is (bLookUp false), or a name, which is looked up
    // for IPv4 and IPv6 addresses, each tried in turn (bLookUp true). The lookup and every
    // attempt share one time bound. strDetail: the cause of a failure, in words.
    virtual EConnectResult Connect(const std::string& strHost, bool bLookUp, std::uint16_t nPort,
                                   std::string& strDetail) = 0;
};

} // namespace tarnwick
