#include "platform/CheckURLConnect.h"

#include "platform/CProbeTarget.h"
#include "platform/ILog.h"
#include "platform/INetService.h"

#include <algorithm>
#include <cstring>

namespace tarnwick {

namespace {
std::string ResultText(EConnectResult result) {
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

bool CheckURLConnect(const std::string& strText, INetService& net, ILog& log,
                     std::string* pstrCause) {
    CProbeTarget target;
    if (!target.Parse(strText)) {
        // Nothing could ever connect: no attempt, and the text itself is named.
        if (pstrCause != nullptr)
            *pstrCause = "probe text \"" + strText + "\": " + target.GetError();
        else
            log.Write(LogLevel::Warning, "check",
                      "cannot probe \"" + strText + "\": " + target.GetError());
        return false;
    }
    std::string strHost = target.GetHost();
    const std::uint16_t nPort = target.GetPort();
    bool bLookUp = false;
    std::string strDetail;
    EConnectResult result = EConnectResult::Unreachable;

    const bool bDotted = std::all_of(strHost.begin(), strHost.end(),
                                     [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
    std::uint32_t nAddr = 0;
    if (target.IsBracketed()) {
        // An IPv6 address as written; the service refuses text that is not one.
    } else if (bDotted) {
        // Address 0 is none.
        if (!net.InetAddr(strHost, nAddr) || nAddr == 0)
            strDetail = "not a usable IPv4 address";
        else
            strHost = DottedText(nAddr);
    } else {
        bLookUp = true;
    }
    if (strDetail.empty())
        result = net.Connect(strHost, bLookUp, nPort, strDetail);
    if (result == EConnectResult::Connected)
        return true;
    const std::string strWhy =
        ResultText(result) + (strDetail.empty() ? std::string() : ", " + strDetail);
    if (pstrCause != nullptr)
        *pstrCause = "connect to " + strHost + ":" + std::to_string(nPort) + ": " + strWhy;
    else
        log.Write(LogLevel::Warning, "check",
                  "cannot connect to \"" + strText + "\" (host " + strHost + ", port " +
                      std::to_string(nPort) + "): " + strWhy);
    return false;
}

} // namespace tarnwick
