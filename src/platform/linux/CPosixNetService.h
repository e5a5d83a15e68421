#pragma once

#include "platform/INetService.h"
#include "platform/IProbeSockets.h"

namespace tarnwick {

// IPv4 and IPv6 over POSIX sockets. The name lookup and the connection attempts together
// give up after nTimeoutMs (21 s by default, as long as a Windows connect waits, instead of
// Linux's two minutes), so that a dead name server or a host that drops packets cannot
// freeze the program for long. Once fdAbort (when not -1) is readable, a probe in progress
// ends and fails: a quit request need not wait for it.
class CPosixNetService : public INetService, private IProbeSockets {
public:
    explicit CPosixNetService(int fdAbort = -1, int nTimeoutMs = 21000);
    ~CPosixNetService() override;
    CPosixNetService(const CPosixNetService&) = delete;
    CPosixNetService& operator=(const CPosixNetService&) = delete;

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

    int m_fdAbort;
    int m_nTimeoutMs;
    int m_fdConnect = -1;
};

} // namespace tarnwick
