#include "platform/windows/Win32.h"

#include "platform/ILog.h"
#include "platform/windows/CWinsockNetService.h"
#include "platform/windows/WinError.h"

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

namespace tarnwick {

namespace {
using Clock = std::chrono::steady_clock;

long MsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() <= 0 ? 0 : static_cast<long>(left.count());
}

// A lookup that runs on a thread of its own, so that the caller can stop waiting for it. An
// abandoned lookup finishes into a result that frees itself with the last owner.
struct SLookup {
    std::mutex lock;
    std::condition_variable done;
    bool bDone = false;
    int nStatus = EAI_AGAIN;
    addrinfo* pResult = nullptr;
    ~SLookup() {
        if (pResult != nullptr)
            freeaddrinfo(pResult);
    }
};

addrinfo Hints(bool bLookUp) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = bLookUp ? 0 : AI_NUMERICHOST;
    return hints;
}

EConnectResult ConnectOne(const addrinfo& ai, std::uint16_t nPort, Clock::time_point deadline,
                          std::string& strDetail) {
    sockaddr_storage addr{};
    std::memcpy(&addr, ai.ai_addr, ai.ai_addrlen);
    if (ai.ai_family == AF_INET6)
        reinterpret_cast<sockaddr_in6*>(&addr)->sin6_port = htons(nPort);
    else
        reinterpret_cast<sockaddr_in*>(&addr)->sin_port = htons(nPort);
    SOCKET s = socket(ai.ai_family, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        strDetail = "no socket: " + Win32ErrorText(static_cast<unsigned long>(WSAGetLastError()));
        return EConnectResult::Unreachable;
    }
    u_long nNonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nNonBlocking);
    EConnectResult result = EConnectResult::Unreachable;
    int nError = 0;
    if (connect(s, reinterpret_cast<const sockaddr*>(&addr), static_cast<int>(ai.ai_addrlen)) ==
        0) {
        result = EConnectResult::Connected;
    } else if ((nError = WSAGetLastError()) == WSAEWOULDBLOCK) {
        nError = 0;
        const long nLeftMs = MsLeft(deadline);
        timeval timeout{nLeftMs / 1000, (nLeftMs % 1000) * 1000};
        fd_set writable;
        fd_set failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(s, &writable);
        FD_SET(s, &failed);
        // A refused connect is reported through the exception set on Windows.
        const int n = select(0, nullptr, &writable, &failed, &timeout);
        if (n == 0) {
            result = EConnectResult::TimedOut;
            strDetail = "no answer";
        } else if (n < 0) {
            nError = WSAGetLastError();
        } else if (FD_ISSET(s, &failed)) {
            int nLen = sizeof nError;
            if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&nError), &nLen) != 0 ||
                nError == 0)
                nError = WSAECONNREFUSED;
        } else {
            result = EConnectResult::Connected;
        }
    }
    closesocket(s);
    if (nError != 0) {
        strDetail = Win32ErrorText(static_cast<unsigned long>(nError));
        result = nError == WSAECONNREFUSED ? EConnectResult::Refused
                 : nError == WSAETIMEDOUT  ? EConnectResult::TimedOut
                                           : EConnectResult::Unreachable;
    }
    return result;
}
} // namespace

CWinsockNetService::CWinsockNetService(ILog& log, int nBudgetMs)
    : m_log(log), m_nBudgetMs(nBudgetMs) {
    WSADATA data{};
    const int nError = WSAStartup(MAKEWORD(2, 2), &data);
    m_bStarted = nError == 0;
    if (!m_bStarted)
        m_log.Write(LogLevel::Error, "check",
                    "Winsock does not start: " +
                        Win32ErrorText(static_cast<unsigned long>(nError)));
}

CWinsockNetService::~CWinsockNetService() {
    if (m_bStarted)
        WSACleanup();
}

bool CWinsockNetService::InetAddr(const std::string& strDotted, std::uint32_t& nAddr) {
    const unsigned long nValue = inet_addr(strDotted.c_str());
    if (nValue == INADDR_NONE && strDotted != "255.255.255.255")
        return false;
    nAddr = static_cast<std::uint32_t>(nValue);
    return true;
}

EConnectResult CWinsockNetService::Connect(const std::string& strHost, bool bLookUp,
                                           std::uint16_t nPort, std::string& strDetail) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(m_nBudgetMs);
    auto pLookup = std::make_shared<SLookup>();
    if (bLookUp) {
        std::thread([pLookup, strHost] {
            const addrinfo hints = Hints(true);
            addrinfo* pFound = nullptr;
            const int nStatus = getaddrinfo(strHost.c_str(), nullptr, &hints, &pFound);
            const std::lock_guard<std::mutex> guard(pLookup->lock);
            pLookup->pResult = pFound;
            pLookup->nStatus = nStatus;
            pLookup->bDone = true;
            pLookup->done.notify_all();
        }).detach();
        std::unique_lock<std::mutex> guard(pLookup->lock);
        if (!pLookup->done.wait_until(guard, deadline, [&] { return pLookup->bDone; })) {
            strDetail = "the name lookup did not answer in time";
            return EConnectResult::TimedOut;
        }
        if (pLookup->nStatus != 0) {
            strDetail = Win32ErrorText(static_cast<unsigned long>(pLookup->nStatus));
            return pLookup->nStatus == WSAHOST_NOT_FOUND || pLookup->nStatus == WSANO_DATA
                       ? EConnectResult::NameNotFound
                       : EConnectResult::Unreachable;
        }
    } else {
        const addrinfo hints = Hints(false);
        if (getaddrinfo(strHost.c_str(), nullptr, &hints, &pLookup->pResult) != 0) {
            strDetail = "not an address";
            return EConnectResult::Unreachable;
        }
    }

    long nLeft = 0;
    for (const addrinfo* p = pLookup->pResult; p != nullptr; p = p->ai_next)
        nLeft += p->ai_family == AF_INET || p->ai_family == AF_INET6 ? 1 : 0;
    EConnectResult result = EConnectResult::NameNotFound;
    std::string strLast = "no IPv4 or IPv6 address";
    for (const addrinfo* p = pLookup->pResult; p != nullptr; p = p->ai_next) {
        if (p->ai_family != AF_INET && p->ai_family != AF_INET6)
            continue;
        // Each address gets its share of the time left, so a dead first address leaves
        // time for the next.
        const Clock::time_point share =
            Clock::now() + std::chrono::milliseconds(MsLeft(deadline) / nLeft--);
        result = ConnectOne(*p, nPort, share, strLast);
        if (result == EConnectResult::Connected || MsLeft(deadline) == 0)
            break;
    }
    strDetail = strLast;
    return result;
}

} // namespace tarnwick
