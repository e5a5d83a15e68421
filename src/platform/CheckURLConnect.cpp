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

bool CheckURLConnect(const std::string& strText, INetService& net, std::string* pstrCause) {
    const SProbeTarget target = ParseProbeTarget(strText);
    const std::string& strHost = target.strHost;
    const std::string strWhere = "connect to " +
                                 (strHost.empty() ? std::string("(no host)") : strHost) + ":" +
                                 std::to_string(target.nPort);
    auto fnFail = [&](const std::string& strWhy) {
        if (pstrCause != nullptr) {
            const std::string strError = net.LastError();
            *pstrCause = strWhere + ": " + (strError.empty() ? strWhy : strError);
        }
        return false;
    };

    std::uint32_t nAddr = 0;
    const bool bDotted = std::all_of(strHost.begin(), strHost.end(),
                                     [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
    if (bDotted) {
        // An empty host is handed over as well; it never converts.
        if (!net.InetAddr(strHost, nAddr)) {
            if (pstrCause != nullptr)
                *pstrCause = strWhere + ": not an IPv4 address";
            return false;
        }
    } else if (!net.ResolveIPv4(strHost, nAddr)) {
        return fnFail("name not found");
    }
    if (nAddr == 0) {
        if (pstrCause != nullptr)
            *pstrCause = strWhere + ": address 0.0.0.0";
        return false;
    }
    return net.Connect(nAddr, target.nPort) || fnFail("failed");
}

} // namespace tarnwick
