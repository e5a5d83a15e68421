#pragma once

#include "platform/INetService.h"

namespace tarnwick {

// IPv4 over POSIX sockets. A connect gives up after nConnectTimeoutMs (21 s by default, as
// long as a Windows connect waits, instead of Linux's two minutes), so that a host that
// drops packets cannot freeze the program for long.
class CPosixNetService : public INetService {
public:
    explicit CPosixNetService(int nConnectTimeoutMs = 21000);

    bool InetAddr(const std::string& strDotted, std::uint32_t& nAddr) override;
    bool ResolveIPv4(const std::string& strHost, std::uint32_t& nAddr) override;
    bool Connect(std::uint32_t nAddr, std::uint16_t nPort) override;

private:
    int m_nConnectTimeoutMs;
};

} // namespace tarnwick
