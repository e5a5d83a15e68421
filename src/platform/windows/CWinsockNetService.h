#pragma once

#include "platform/INetService.h"

namespace tarnwick {

class ILog;

// TCP over Winsock (IPv4 and IPv6) for the reachability probe. The name lookup and every
// connect attempt share one time bound (21 s, as long as a Windows connect waits by itself),
// so that a probe never holds the program longer, even when the name server does not answer.
class CWinsockNetService : public INetService {
public:
    explicit CWinsockNetService(ILog& log, int nBudgetMs = 21000);
    ~CWinsockNetService() override;
    CWinsockNetService(const CWinsockNetService&) = delete;
    CWinsockNetService& operator=(const CWinsockNetService&) = delete;

    bool InetAddr(const std::string& strDotted, std::uint32_t& nAddr) override;
    EConnectResult Connect(const std::string& strHost, bool bLookUp, std::uint16_t nPort,
                           std::string& strDetail) override;

private:
    ILog& m_log;
    int m_nBudgetMs;
    bool m_bStarted = false;
};

} // namespace tarnwick
