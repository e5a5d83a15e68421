#include "platform/linux/CPosixNetService.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tarnwick {

CPosixNetService::CPosixNetService(int nConnectTimeoutMs)
    : m_nConnectTimeoutMs(nConnectTimeoutMs) {}

bool CPosixNetService::InetAddr(const std::string& strDotted, std::uint32_t& nAddr) {
    in_addr addr{};
    if (inet_aton(strDotted.c_str(), &addr) == 0)
        return false;
    nAddr = addr.s_addr;
    return true;
}

bool CPosixNetService::ResolveIPv4(const std::string& strHost, std::uint32_t& nAddr) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* pResult = nullptr;
    if (getaddrinfo(strHost.c_str(), nullptr, &hints, &pResult) != 0 || pResult == nullptr)
        return false;
    nAddr = reinterpret_cast<const sockaddr_in*>(pResult->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(pResult);
    return true;
}

bool CPosixNetService::Connect(std::uint32_t nAddr, std::uint16_t nPort) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_in sin{};
    sin.sin_family = AF_INET;
    sin.sin_port = htons(nPort);
    sin.sin_addr.s_addr = nAddr;

    bool bConnected = false;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&sin), sizeof sin) == 0) {
        bConnected = true;
    } else if (errno == EINPROGRESS) {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point deadline =
            Clock::now() + std::chrono::milliseconds(m_nConnectTimeoutMs);
        for (;;) {
            const auto nLeft =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (nLeft.count() <= 0)
                break;
            pollfd pfd{fd, POLLOUT, 0};
            const int n = poll(&pfd, 1, static_cast<int>(nLeft.count()));
            if (n < 0 && errno == EINTR)
                continue;
            if (n > 0) {
                int nError = 0;
                socklen_t nLen = sizeof nError;
                bConnected =
                    getsockopt(fd, SOL_SOCKET, SO_ERROR, &nError, &nLen) == 0 && nError == 0;
            }
            break;
        }
    }
    close(fd);
    return bConnected;
}

} // namespace tarnwick
