#include "ui/qt/CSignalWatcher.h"

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tarnwick {

// The write end must be reachable from the async-signal handler, hence a static.
int CSignalWatcher::s_fds[2] = {-1, -1};

CSignalWatcher::CSignalWatcher() {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, s_fds) != 0)
        return;
    m_pNotifier = std::make_unique<QSocketNotifier>(s_fds[1], QSocketNotifier::Read);
    connect(m_pNotifier.get(), &QSocketNotifier::activated, this, &CSignalWatcher::OnReadable);
    struct sigaction action {};
    action.sa_handler = &CSignalWatcher::Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int nSignal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(nSignal, &action, nullptr);
}

CSignalWatcher::~CSignalWatcher() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    for (int nSignal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(nSignal, &action, nullptr);
    m_pNotifier.reset();
    for (int& fd : s_fds) {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
}

void CSignalWatcher::Handler(int nSignal) {
    const unsigned char byte = static_cast<unsigned char>(nSignal);
    [[maybe_unused]] const ssize_t n = write(s_fds[0], &byte, 1);
}

void CSignalWatcher::OnReadable() {
    unsigned char byte = 0;
    while (read(s_fds[1], &byte, 1) == 1) {
        if (byte == SIGHUP)
            emit ReloadRequested();
        else
            emit Received(byte);
    }
}

} // namespace tarnwick
