#pragma once

#include "platform/INetService.h"
#include "platform/IProbeSockets.h"

#include <cstdint>
#include <functional>

namespace tarnwick {

class ILog;

// TCP over Winsock (IPv4 and IPv6) for the reachability probe. The name lookup and every
// connect attempt share one time bound (21 s, as long as a Windows connect waits by itself),
// so that a probe never holds the program longer, even when the name server does not answer.
// fnQuitRequested is asked while anything is pending: once it says true, the probe ends at
// once and fails, so that a quit request need not wait for it.
class CWinsockNetService : public INetService, private IProbeSockets {
public:
    explicit CWinsockNetService(ILog& log, std::function<bool()> fnQuitRequested = {},
                                int nBudgetMs = 21000);
    ~CWinsockNetService() override;
    CWinsockNetService(const CWinsockNetService&) = delete;
    CWinsockNetService& operator=(const CWinsockNetService&) = delete;

    bool InetAddr(const std::string& strDotted, std::uint32_t& nAddr) override;
    EConnectResult Connect(const std::string& strHost, bool bLookUp, std::uint16_t nPort,
                           std::string& strDetail) override;

private:
    ProbeResolveFn GetResolver() const override;
    bool StartConnect(const SProbeAddress& address, EConnectResult& result,
                      std::string& strDetail) override;
    bool WaitConnect(int nMs, EConnectResult& result, std::string& strDetail) override;
    void CloseConnect() override;
    bool IsAborted() override;

    ILog& m_log;
    std::function<bool()> m_fnQuitRequested;
    int m_nBudgetMs;
    bool m_bStarted = false;
    std::uintptr_t m_nSocket; // a SOCKET; INVALID_SOCKET when none is open
};

} // namespace tarnwick
