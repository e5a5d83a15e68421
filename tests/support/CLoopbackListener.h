#pragma once

#include <arpa/inet.h>
#include <cstdint>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tarnwick {

// A listening TCP socket on a free port of 127.0.0.1 (or ::1).
class CLoopbackListener {
public:
    explicit CLoopbackListener(bool bIPv6 = false) {
        m_fd = socket(bIPv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in6 sin6{};
        sin6.sin6_family = AF_INET6;
        sin6.sin6_addr = in6addr_loopback;
        sockaddr_in sin{};
        sin.sin_family = AF_INET;
        sin.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        sockaddr* pAddr =
            bIPv6 ? reinterpret_cast<sockaddr*>(&sin6) : reinterpret_cast<sockaddr*>(&sin);
        socklen_t nLen = bIPv6 ? sizeof sin6 : sizeof sin;
        m_bListening = bind(m_fd, pAddr, nLen) == 0 && listen(m_fd, 64) == 0;
        getsockname(m_fd, pAddr, &nLen);
        m_nPort = ntohs(bIPv6 ? sin6.sin6_port : sin.sin_port);
    }
    bool IsListening() const { return m_bListening; }
    ~CLoopbackListener() { close(m_fd); }
    CLoopbackListener(const CLoopbackListener&) = delete;
    CLoopbackListener& operator=(const CLoopbackListener&) = delete;

    std::uint16_t Port() const { return m_nPort; }
    // Takes one waiting connection off the queue and closes it.
    void AcceptOne() {
        const int fd = accept(m_fd, nullptr, nullptr);
        if (fd >= 0)
            close(fd);
    }

private:
    int m_fd = -1;
    std::uint16_t m_nPort = 0;
    bool m_bListening = false;
};

} // namespace tarnwick
