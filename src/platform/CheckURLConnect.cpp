#include "platform/CheckURLConnect.h"

#include "platform/GetField.h"
#include "platform/ILog.h"
#include "platform/INetService.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cstring>

namespace tarnwick {

namespace {
const char* ResultText(EConnectResult result) {
    switch (result) {
    case EConnectResult::Connected:
        return "connected";
    case EConnectResult::Refused:
        return "connection refused";
    case EConnectResult::TimedOut:
        return "timed out";
    case EConnectResult::NameNotFound:
        return "name not found";
    case EConnectResult::Unreachable:
        return "unreachable";
    case EConnectResult::Aborted:
        return "aborted";
    }
    return "failed";
}

std::string DottedText(std::uint32_t nAddr) {
    unsigned char bytes[4];
    std::memcpy(bytes, &nAddr, sizeof bytes); // network byte order: first byte first
    return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
           std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
}
} // namespace

SProbeTarget ParseProbeTarget(const std::string& strText) {
    SProbeTarget target;
    std::string strCopy = MbLower(strText);
    const std::string strSecure = "https://";
    if (strCopy.compare(0, strSecure.size(), strSecure) == 0) {
        strCopy.erase(0, strSecure.size());
        target.nPort = 443;
    }
    const std::string strScheme = "http://";
    for (std::string::size_type p; (p = strCopy.find(strScheme)) != std::string::npos;)
        strCopy.erase(p, strScheme.size());

    target.strHost = GetField(strCopy, 1, '/');
    const std::string::size_type nClose = target.strHost.find(']');
    if (!target.strHost.empty() && target.strHost[0] == '[' && nClose != std::string::npos) {
        const std::string strRest = target.strHost.substr(nClose + 1);
        target.strHost = target.strHost.substr(1, nClose - 1);
        target.bBracketed = true;
        if (!strRest.empty() && strRest[0] == ':')
            target.nPort = static_cast<std::uint16_t>(AtoI(strRest.substr(1)));
        return target;
    }
    const std::string::size_type nColon = target.strHost.find(':');
    if (nColon != std::string::npos && nColon > 0) {
        target.nPort = static_cast<std::uint16_t>(AtoI(GetField(target.strHost, 2, ':')));
        target.strHost = GetField(target.strHost, 1, ':');
    }
    return target;
}

bool CheckURLConnect(const std::string& strText, INetService& net, ILog& log,
                     std::string* pstrCause) {
    const SProbeTarget target = ParseProbeTarget(strText);
    std::string strHost = target.strHost;
    bool bLookUp = false;
    std::string strDetail;
    EConnectResult result = EConnectResult::Unreachable;

    const bool bDotted = std::all_of(strHost.begin(), strHost.end(),
                                     [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
    std::uint32_t nAddr = 0;
    if (target.bBracketed) {
        // An IPv6 address as written; the service refuses text that is not one.
    } else if (bDotted) {
        // An empty host is handed over as well; it never converts. Address 0 is none.
        if (!net.InetAddr(strHost, nAddr) || nAddr == 0)
            strDetail = "not a usable IPv4 address";
        else
            strHost = DottedText(nAddr);
    } else {
        bLookUp = true;
    }
    if (strDetail.empty())
        result = net.Connect(strHost, bLookUp, target.nPort, strDetail);
    if (result == EConnectResult::Connected)
        return true;
    if (pstrCause != nullptr) {
        *pstrCause = "connect to " + (strHost.empty() ? std::string("(no host)") : strHost) + ":" +
                     std::to_string(target.nPort) + ": " + ResultText(result) +
                     (strDetail.empty() ? std::string() : ", " + strDetail);
        return false;
    }
    log.Write(LogLevel::Warning, "check",
              "cannot connect to \"" + strText + "\" (host " + strHost + ", port " +
                  std::to_string(target.nPort) + "): " + ResultText(result) +
                  (strDetail.empty() ? std::string() : ", " + strDetail));
    return false;
}

} // namespace tarnwick
