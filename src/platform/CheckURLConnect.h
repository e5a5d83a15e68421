#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

class INetService;
class ILog;

// Host and port named by a probe text.
struct SProbeTarget {
    std::string strHost;
    std::uint16_t nPort = 80;
    bool bBracketed = false; // an IPv6 address written in brackets
};

// Reduces the text to a host and a port: lower case, a leading "https://" (port 443) and
// every "http://" removed, the path dropped, an optional ":port" after the host; an IPv6
// address stands in brackets ("[::1]:80").
SProbeTarget ParseProbeTarget(const std::string& strText);

// True when a TCP connection to the host and port named by the text could be opened. A
// failure is logged with its cause, or, when pstrCause is given, handed back there instead
// ("connect to host:80: refused") for the caller's own line.
bool CheckURLConnect(const std::string& strText, INetService& net, ILog& log,
                     std::string* pstrCause = nullptr);

} // namespace tarnwick
