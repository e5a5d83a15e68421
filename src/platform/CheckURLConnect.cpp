#include "platform/CheckURLConnect.h"

#include "platform/GetField.h"
#include "platform/INetService.h"
#include "platform/TextUtil.h"

#include <algorithm>

namespace tarnwick {

SProbeTarget ParseProbeTarget(const std::string& strText) {
    std::string strCopy = MbLower(strText);
    const std::string strScheme = "http://";
    for (std::string::size_type p; (p = strCopy.find(strScheme)) != std::string::npos;)
        strCopy.erase(p, strScheme.size());

    SProbeTarget target;
    target.strHost = GetField(strCopy, 1, '/');
    const std::string::size_type nColon = target.strHost.find(':');
    if (nColon != std::string::npos && nColon > 0) {
        target.nPort = static_cast<std::uint16_t>(AtoI(GetField(target.strHost, 2, ':')));
        target.strHost = GetField(target.strHost, 1, ':');
    }
    return target;
}

bool CheckURLConnect(const std::string& strText, INetService& net) {
    const SProbeTarget target = ParseProbeTarget(strText);
    const std::string& strHost = target.strHost;

    std::uint32_t nAddr = 0;
    const bool bDotted = std::all_of(strHost.begin(), strHost.end(),
                                     [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
    if (bDotted) {
        // An empty host is handed over as well; it never converts.
        if (!net.InetAddr(strHost, nAddr))
            return false;
    } else if (!net.ResolveIPv4(strHost, nAddr)) {
        return false;
    }
    if (nAddr == 0)
        return false;
    return net.Connect(nAddr, target.nPort);
}

} // namespace tarnwick
