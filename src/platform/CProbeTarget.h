#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

// The host and port that a probe text names. The text is read in lower case; a leading
// "https://" means port 443 and is removed, as is every "http://"; a path after the host is
// dropped; an optional ":port" follows the host; an IPv6 address stands in brackets
// ("[::1]:80"). A text that can name nothing a connection could reach is refused with its
// reason: no host, a host name longer than DNS allows, a port that is not a number from 1 to
// 65535, an unclosed bracket or text after it.
class CProbeTarget {
public:
    // Reads the text; false when it names no reachable host and port (GetError says why).
    bool Parse(const std::string& strText);

    const std::string& GetHost() const { return m_strHost; }
    std::uint16_t GetPort() const { return m_nPort; }
    // An IPv6 address written in brackets: used as it stands, never looked up.
    bool IsBracketed() const { return m_bBracketed; }
    const std::string& GetError() const { return m_strError; }

    // The longest host name DNS can carry.
    static constexpr std::size_t kMaxHostLength = 253;

private:
    bool Fail(const std::string& strError);
    bool ReadPort(const std::string& strPort);

    std::string m_strHost;
    std::uint16_t m_nPort = 80;
    bool m_bBracketed = false;
    std::string m_strError;
};

} // namespace tarnwick
