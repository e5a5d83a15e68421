#pragma once

#include <arpa/inet.h>
#include <cstdint>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tarnwick {

// A listening TCP socket on a free port of 127.0.0.1.
class CLoopbackListener {
public:
    CLoopbackListener() {
        m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in sin{};
        sin.sin_family = AF_INET;
        sin.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_fd, reinterpret_cast<sockaddr*>(&sin), sizeof sin);
        listen(m_fd, 64);
        socklen_t nLen = sizeof sin;
        getsockname(m_fd, reinterpret_cast<sockaddr*>(&sin), &nLen);
        m_nPort = ntohs(sin.sin_port);
    }
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
};

} // namespace tarnwick
