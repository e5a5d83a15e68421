#include "CFakeServices.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#endif

namespace tarnwick {

bool CFakeNetService::InetAddr(const std::string& strDotted, std::uint32_t& nAddr) {
#ifdef _WIN32
    // The system's own reading, as the Windows probe uses it.
    const unsigned long nValue = inet_addr(strDotted.c_str());
    if (nValue == INADDR_NONE)
        return false;
    nAddr = static_cast<std::uint32_t>(nValue);
    return true;
#else
    in_addr addr{};
    if (inet_aton(strDotted.c_str(), &addr) == 0)
        return false;
    nAddr = addr.s_addr;
    return true;
#endif
}

EConnectResult CFakeNetService::Connect(const std::string& strHost, bool bLookUp,
                                        std::uint16_t nPort, std::string& strDetail) {
    std::vector<std::string> addresses{strHost};
    if (bLookUp) {
        m_lookups.push_back(strHost);
        const auto it = m_hosts.find(strHost);
        if (it == m_hosts.end()) {
            strDetail = "no such name";
            return EConnectResult::NameNotFound;
        }
        addresses = it->second;
    }
    for (const std::string& strAddr : addresses) {
        m_connects.emplace_back(strAddr, nPort);
        if (m_open.count({strAddr, nPort}) != 0)
            return EConnectResult::Connected;
    }
    strDetail = "nothing listens";
    return EConnectResult::Refused;
}

} // namespace tarnwick
