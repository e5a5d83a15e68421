#include "platform/linux/CPosixNetService.h"

#include "platform/CProbeConnector.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tarnwick {

namespace {
EConnectResult Failure(int nError, std::string& strDetail) {
    strDetail = std::strerror(nError);
    return nError == ECONNREFUSED ? EConnectResult::Refused
           : nError == ETIMEDOUT  ? EConnectResult::TimedOut
                                  : EConnectResult::Unreachable;
}

EConnectResult Resolve(const std::string& strHost, bool bLookUp, std::uint16_t nPort,
                       std::vector<SProbeAddress>& addresses, std::string& strDetail) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = bLookUp ? 0 : AI_NUMERICHOST;
    addrinfo* pFound = nullptr;
    const int nStatus =
        getaddrinfo(strHost.c_str(), std::to_string(nPort).c_str(), &hints, &pFound);
    if (nStatus != 0) {
        strDetail = bLookUp ? gai_strerror(nStatus) : "not an address";
        return bLookUp && (nStatus == EAI_NONAME || nStatus == EAI_NODATA)
                   ? EConnectResult::NameNotFound
                   : EConnectResult::Unreachable;
    }
    AppendProbeAddresses(pFound, AF_INET, AF_INET6, addresses);
    freeaddrinfo(pFound);
    return EConnectResult::Connected;
}
} // namespace

CPosixNetService::CPosixNetService(int fdAbort, int nTimeoutMs)
    : m_fdAbort(fdAbort), m_nTimeoutMs(nTimeoutMs) {}

CPosixNetService::~CPosixNetService() {
    CloseConnect();
}

bool CPosixNetService::InetAddr(const std::string& strDotted, std::uint32_t& nAddr) {
    in_addr addr{};
    if (inet_aton(strDotted.c_str(), &addr) == 0)
        return false;
    nAddr = addr.s_addr;
    return true;
}

EConnectResult CPosixNetService::Connect(const std::string& strHost, bool bLookUp,
                                         std::uint16_t nPort, std::string& strDetail) {
    return CProbeConnector(*this, m_nTimeoutMs).Connect(strHost, bLookUp, nPort, strDetail);
}

ProbeResolveFn CPosixNetService::GetResolver() const {
    return &Resolve;
}

bool CPosixNetService::StartConnect(const SProbeAddress& address, EConnectResult& result,
                                    std::string& strDetail) {
    sockaddr_storage addr{};
    const auto nLen = static_cast<socklen_t>(address.CopyTo(&addr, sizeof addr));
    CloseConnect();
    m_fdConnect = socket(addr.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fdConnect < 0) {
        result = Failure(errno, strDetail);
        return false;
    }
    if (connect(m_fdConnect, reinterpret_cast<const sockaddr*>(&addr), nLen) == 0) {
        result = EConnectResult::Connected;
        return false;
    }
    if (errno == EINPROGRESS)
        return true;
    result = Failure(errno, strDetail);
    return false;
}

bool CPosixNetService::WaitConnect(int nMs, EConnectResult& result, std::string& strDetail) {
    pollfd fd{m_fdConnect, POLLOUT, 0};
    const int n = poll(&fd, 1, nMs);
    if (n == 0 || (n < 0 && errno == EINTR))
        return false;
    int nError = 0;
    socklen_t nLen = sizeof nError;
    if (n < 0 || getsockopt(m_fdConnect, SOL_SOCKET, SO_ERROR, &nError, &nLen) != 0)
        nError = errno;
    result = nError == 0 ? EConnectResult::Connected : Failure(nError, strDetail);
    return true;
}

void CPosixNetService::CloseConnect() {
    if (m_fdConnect >= 0)
        close(m_fdConnect);
    m_fdConnect = -1;
}

bool CPosixNetService::IsAborted() {
    pollfd fd{m_fdAbort, POLLIN, 0};
    return m_fdAbort >= 0 && poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN) != 0;
}

} // namespace tarnwick
