#include "CFakeServices.h"

#include <arpa/inet.h>

namespace tarnwick {

bool CFakeNetService::InetAddr(const std::string& strDotted, std::uint32_t& nAddr) {
    in_addr addr{};
    if (inet_aton(strDotted.c_str(), &addr) == 0)
        return false;
    nAddr = addr.s_addr;
    return true;
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
