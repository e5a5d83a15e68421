#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

class INetService;

// Host and port named by a probe text.
struct SProbeTarget {
    std::string strHost;
    std::uint16_t nPort = 80;
};

// Reduces the text to a host and a port: lower case, every "http://" removed, the path
// dropped, an optional ":port" after the host.
SProbeTarget ParseProbeTarget(const std::string& strText);

// True when a TCP connection to the host and port named by the text could be opened.
bool CheckURLConnect(const std::string& strText, INetService& net);

} // namespace tarnwick
