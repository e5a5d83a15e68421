#include "platform/CProbeTarget.h"

#include "platform/GetField.h"
#include "platform/TextUtil.h"

namespace tarnwick {

bool CProbeTarget::Fail(const std::string& strError) {
    m_strError = strError;
    return false;
}

// The number is read as atoi reads it (leading blanks, digits up to the first other
// character). Only 1 to 65535 name a port: a larger number must not wrap round to another
// port (65616 would probe port 80) and 0 is never listened on.
bool CProbeTarget::ReadPort(const std::string& strPort) {
    const int nPort = AtoI(strPort);
    if (nPort < 1 || nPort > 65535)
        return Fail("port \"" + strPort + "\" is not a number from 1 to 65535");
    m_nPort = static_cast<std::uint16_t>(nPort);
    return true;
}

bool CProbeTarget::Parse(const std::string& strText) {
    *this = CProbeTarget();
    std::string strCopy = MbLower(strText);
    const std::string strSecure = "https://";
    if (strCopy.compare(0, strSecure.size(), strSecure) == 0) {
        strCopy.erase(0, strSecure.size());
        m_nPort = 443;
    }
    const std::string strScheme = "http://";
    for (std::string::size_type p; (p = strCopy.find(strScheme)) != std::string::npos;)
        strCopy.erase(p, strScheme.size());

    std::string strHost = GetField(strCopy, 1, '/');
    if (!strHost.empty() && strHost[0] == '[') {
        const std::string::size_type nClose = strHost.find(']');
        if (nClose == std::string::npos)
            return Fail("the IPv6 address has no closing \"]\"");
        const std::string strRest = strHost.substr(nClose + 1);
        strHost = strHost.substr(1, nClose - 1);
        m_bBracketed = true;
        if (!strRest.empty() && (strRest[0] != ':' || !ReadPort(strRest.substr(1))))
            return m_strError.empty() ? Fail("\"" + strRest + "\" after the IPv6 address") : false;
    } else {
        // A colon at the very start is part of the name (which then finds nothing).
        const std::string::size_type nColon = strHost.find(':');
        if (nColon != std::string::npos && nColon > 0) {
            if (!ReadPort(GetField(strHost, 2, ':')))
                return false;
            strHost = GetField(strHost, 1, ':');
        }
    }
    if (strHost.empty())
        return Fail("no host");
    if (strHost.size() > kMaxHostLength)
        return Fail("the host name is longer than " + std::to_string(kMaxHostLength) +
                    " characters");
    m_strHost = strHost;
    return true;
}

} // namespace tarnwick
