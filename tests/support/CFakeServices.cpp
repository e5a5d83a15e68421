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

bool CFakeNetService::ResolveIPv4(const std::string& strHost, std::uint32_t& nAddr) {
    m_lookups.push_back(strHost);
    const auto it = m_hosts.find(strHost);
    if (it == m_hosts.end())
        return false;
    nAddr = it->second;
    return true;
}

bool CFakeNetService::Connect(std::uint32_t nAddr, std::uint16_t nPort) {
    m_connects.emplace_back(nAddr, nPort);
    return m_open.count({nAddr, nPort}) != 0;
}

} // namespace tarnwick
