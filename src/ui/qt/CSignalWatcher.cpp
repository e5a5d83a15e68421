#include "ui/qt/CSignalWatcher.h"

#include "platform/ILog.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr int kQuitSignals[] = {SIGTERM, SIGINT};

std::string LastError() {
    return std::strerror(errno);
}
} // namespace

namespace tarnwick {

int CSignalWatcher::s_fds[2] = {-1, -1};
int CSignalWatcher::s_abortFds[2] = {-1, -1};

CSignalWatcher::CSignalWatcher(ILog& log) : m_log(log) {
    if (pipe2(s_abortFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_log.Write(LogLevel::Error, "start",
                    "cannot make the quit pipe (" + LastError() +
                        "): a dial or probe will not end early on a quit request");
        s_abortFds[0] = s_abortFds[1] = -1;
    }
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, s_fds) != 0) {
        m_log.Write(LogLevel::Error, "start",
                    "cannot watch for signals (" + LastError() +
                        "): SIGTERM and SIGINT end the program without saving");
        s_fds[0] = s_fds[1] = -1;
        return;
    }
    m_pNotifier = std::make_unique<QSocketNotifier>(s_fds[1], QSocketNotifier::Read);
    connect(m_pNotifier.get(), &QSocketNotifier::activated, this, &CSignalWatcher::OnReadable);
    struct sigaction action {};
    action.sa_handler = &CSignalWatcher::Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int nSignal : {SIGTERM, SIGINT, SIGHUP}) {
        if (sigaction(nSignal, &action, nullptr) != 0)
            m_log.Write(LogLevel::Error, "start",
                        "cannot handle signal " + std::to_string(nSignal) + ": " + LastError());
    }
}

CSignalWatcher::~CSignalWatcher() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    for (int nSignal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(nSignal, &action, nullptr);
    m_pNotifier.reset();
    for (int* pFds : {s_fds, s_abortFds}) {
        for (int i = 0; i < 2; ++i) {
            if (pFds[i] >= 0)
                close(pFds[i]);
            pFds[i] = -1;
        }
    }
}

void CSignalWatcher::Handler(int nSignal) {
    const int nSavedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(nSignal);
    // Async-signal-safe: two writes. The abort pipe is never read, so it stays readable.
    for (int nQuit : kQuitSignals) {
        if (nSignal == nQuit && s_abortFds[1] >= 0) [[maybe_unused]]
            const ssize_t n = write(s_abortFds[1], &byte, 1);
    }
    if (s_fds[0] >= 0) [[maybe_unused]]
        const ssize_t n = write(s_fds[0], &byte, 1);
    errno = nSavedErrno;
}

void CSignalWatcher::RequestQuit() {
    if (IsQuitRequested() || s_abortFds[1] < 0)
        return;
    const unsigned char byte = 0;
    if (write(s_abortFds[1], &byte, 1) != 1)
        m_log.Write(LogLevel::Warning, "exit", "cannot mark the quit request: " + LastError());
}

bool CSignalWatcher::IsQuitRequested() const {
    if (s_abortFds[0] < 0)
        return false;
    pollfd fd{s_abortFds[0], POLLIN, 0};
    return poll(&fd, 1, 0) > 0;
}

void CSignalWatcher::OnReadable() {
    unsigned char byte = 0;
    while (read(s_fds[1], &byte, 1) == 1) {
        if (byte == SIGHUP)
            emit ReloadRequested();
        else
            emit QuitRequested(byte);
    }
}

} // namespace tarnwick
