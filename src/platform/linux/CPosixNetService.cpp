#include "platform/linux/CPosixNetService.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace tarnwick {

namespace {
using Clock = std::chrono::steady_clock;

// Milliseconds left until the deadline, at least 0.
int MsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(left.count());
}

// Waits until fd has the events, fdAbort is readable or the deadline passes.
enum class EWait { Ready, Aborted, TimedOut };
EWait WaitFor(int fd, short nEvents, int fdAbort, Clock::time_point deadline) {
    for (;;) {
        pollfd fds[2] = {{fd, nEvents, 0}, {fdAbort, POLLIN, 0}};
        const int n = poll(fds, fdAbort >= 0 ? 2 : 1, MsLeft(deadline));
        if (n < 0 && errno == EINTR)
            continue;
        if (fdAbort >= 0 && (fds[1].revents & POLLIN) != 0)
            return EWait::Aborted;
        if (n > 0)
            return EWait::Ready;
        if (n == 0 || MsLeft(deadline) == 0)
            return EWait::TimedOut;
        return EWait::Ready; // poll failed: let the caller's next call report why
    }
}

// One lookup, run on a thread of its own so that the caller can stop waiting for it (a dead
// name server keeps getaddrinfo for up to 30 s and more). What the thread and the caller
// share lives as long as either of them needs it; an abandoned lookup finishes and frees
// its result by itself.
struct SLookup {
    std::mutex mutex;
    addrinfo* pResult = nullptr;
    int nStatus = EAI_AGAIN;
    bool bDone = false;
    bool bAbandoned = false;
    int fdDone = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    ~SLookup() {
        if (pResult != nullptr)
            freeaddrinfo(pResult);
        if (fdDone >= 0)
            close(fdDone);
    }
};

struct SAddrInfoFree {
    void operator()(addrinfo* p) const { freeaddrinfo(p); }
};
using AddrInfoPtr = std::unique_ptr<addrinfo, SAddrInfoFree>;

addrinfo Hints(bool bLookUp) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = bLookUp ? 0 : AI_NUMERICHOST;
    return hints;
}

EConnectResult LookUp(const std::string& strHost, int fdAbort, Clock::time_point deadline,
                      AddrInfoPtr& pResult, std::string& strDetail) {
    auto pLookup = std::make_shared<SLookup>();
    if (pLookup->fdDone < 0) {
        strDetail = std::string("cannot wait for the name lookup: ") + std::strerror(errno);
        return EConnectResult::Unreachable;
    }
    std::thread([pLookup, strHost] {
        const addrinfo hints = Hints(true);
        addrinfo* pFound = nullptr;
        const int nStatus = getaddrinfo(strHost.c_str(), nullptr, &hints, &pFound);
        const std::lock_guard<std::mutex> lock(pLookup->mutex);
        pLookup->pResult = pFound;
        pLookup->nStatus = nStatus;
        pLookup->bDone = true;
        const std::uint64_t nOne = 1;
        if (!pLookup->bAbandoned && write(pLookup->fdDone, &nOne, sizeof nOne) < 0) {
            // The waiter polls with a deadline; it gives up in time all the same.
        }
    }).detach();

    const EWait wait = WaitFor(pLookup->fdDone, POLLIN, fdAbort, deadline);
    const std::lock_guard<std::mutex> lock(pLookup->mutex);
    if (!pLookup->bDone) {
        pLookup->bAbandoned = true;
        strDetail = "the name lookup did not answer in time";
        return wait == EWait::Aborted ? EConnectResult::Aborted : EConnectResult::TimedOut;
    }
    if (pLookup->nStatus != 0) {
        strDetail = gai_strerror(pLookup->nStatus);
        return pLookup->nStatus == EAI_NONAME || pLookup->nStatus == EAI_NODATA
                   ? EConnectResult::NameNotFound
                   : EConnectResult::Unreachable;
    }
    pResult.reset(pLookup->pResult);
    pLookup->pResult = nullptr;
    return EConnectResult::Connected;
}

EConnectResult ConnectOne(const addrinfo& ai, std::uint16_t nPort, int fdAbort,
                          Clock::time_point deadline, std::string& strDetail) {
    sockaddr_storage addr{};
    std::memcpy(&addr, ai.ai_addr, ai.ai_addrlen);
    if (ai.ai_family == AF_INET6)
        reinterpret_cast<sockaddr_in6*>(&addr)->sin6_port = htons(nPort);
    else
        reinterpret_cast<sockaddr_in*>(&addr)->sin_port = htons(nPort);

    const int fd = socket(ai.ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        strDetail = std::strerror(errno);
        return EConnectResult::Unreachable;
    }
    EConnectResult result = EConnectResult::Unreachable;
    int nError = 0;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&addr), ai.ai_addrlen) == 0) {
        result = EConnectResult::Connected;
    } else if (errno != EINPROGRESS) {
        nError = errno;
    } else {
        switch (WaitFor(fd, POLLOUT, fdAbort, deadline)) {
        case EWait::Aborted:
            result = EConnectResult::Aborted;
            strDetail = "a quit request came";
            break;
        case EWait::TimedOut:
            result = EConnectResult::TimedOut;
            strDetail = "no answer";
            break;
        case EWait::Ready: {
            socklen_t nLen = sizeof nError;
            if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &nError, &nLen) != 0)
                nError = errno;
            if (nError == 0)
                result = EConnectResult::Connected;
            break;
        }
        }
    }
    close(fd);
    if (nError != 0) {
        strDetail = std::strerror(nError);
        result = nError == ECONNREFUSED ? EConnectResult::Refused
                 : nError == ETIMEDOUT  ? EConnectResult::TimedOut
                                        : EConnectResult::Unreachable;
    }
    return result;
}
} // namespace

CPosixNetService::CPosixNetService(int fdAbort, int nTimeoutMs)
    : m_fdAbort(fdAbort), m_nTimeoutMs(nTimeoutMs) {}

bool CPosixNetService::InetAddr(const std::string& strDotted, std::uint32_t& nAddr) {
    in_addr addr{};
    if (inet_aton(strDotted.c_str(), &addr) == 0)
        return false;
    nAddr = addr.s_addr;
    return true;
}

EConnectResult CPosixNetService::Connect(const std::string& strHost, bool bLookUp,
                                         std::uint16_t nPort, std::string& strDetail) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(m_nTimeoutMs);
    pollfd abort{m_fdAbort, POLLIN, 0};
    if (m_fdAbort >= 0 && poll(&abort, 1, 0) > 0) {
        strDetail = "a quit request came first";
        return EConnectResult::Aborted;
    }

    AddrInfoPtr pAddresses;
    if (bLookUp) {
        const EConnectResult result = LookUp(strHost, m_fdAbort, deadline, pAddresses, strDetail);
        if (result != EConnectResult::Connected)
            return result;
    } else {
        const addrinfo hints = Hints(false);
        addrinfo* pFound = nullptr;
        const int nStatus = getaddrinfo(strHost.c_str(), nullptr, &hints, &pFound);
        if (nStatus != 0) {
            strDetail = "not an address";
            return EConnectResult::Unreachable;
        }
        pAddresses.reset(pFound);
    }

    int nLeft = 0;
    for (const addrinfo* p = pAddresses.get(); p != nullptr; p = p->ai_next)
        nLeft += p->ai_family == AF_INET || p->ai_family == AF_INET6 ? 1 : 0;
    EConnectResult result = EConnectResult::NameNotFound;
    std::string strLast = "no IPv4 or IPv6 address";
    for (const addrinfo* p = pAddresses.get(); p != nullptr; p = p->ai_next) {
        if (p->ai_family != AF_INET && p->ai_family != AF_INET6)
            continue;
        // Each address gets its share of the time left, so a dead first address (an IPv6
        // route that drops everything) leaves time for the next.
        const Clock::time_point share =
            Clock::now() + std::chrono::milliseconds(MsLeft(deadline) / nLeft--);
        result = ConnectOne(*p, nPort, m_fdAbort, share, strLast);
        if (result == EConnectResult::Connected || result == EConnectResult::Aborted)
            break;
        if (MsLeft(deadline) == 0)
            break;
    }
    strDetail = strLast;
    return result;
}

} // namespace tarnwick
