#include "platform/windows/Win32.h"

#include "platform/ILog.h"
#include "platform/windows/CWinsockNetService.h"
#include "platform/windows/WinError.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace tarnwick {

namespace {
// A look-up that runs on a thread of its own, so that the caller can stop waiting for it.
struct SLookup {
    std::mutex lock;
    std::condition_variable done;
    bool bDone = false;
    bool bFound = false;
    std::uint32_t nAddr = 0;
};
} // namespace

CWinsockNetService::CWinsockNetService(ILog& log, int nBudgetMs) : m_log(log), m_budget(nBudgetMs) {
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

bool CWinsockNetService::ResolveIPv4(const std::string& strHost, std::uint32_t& nAddr) {
    m_deadline = Clock::now() + m_budget;
    auto pLookup = std::make_shared<SLookup>();
    // The thread owns its share of the result; if the wait below gives up, it finishes
    // (whenever the resolver returns) into a result nobody reads any more.
    std::thread([pLookup, strHost] {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* pResult = nullptr;
        const bool bFound =
            getaddrinfo(strHost.c_str(), nullptr, &hints, &pResult) == 0 && pResult != nullptr;
        std::uint32_t nFound = 0;
        if (bFound)
            nFound = reinterpret_cast<const sockaddr_in*>(pResult->ai_addr)->sin_addr.s_addr;
        if (pResult != nullptr)
            freeaddrinfo(pResult);
        const std::lock_guard<std::mutex> guard(pLookup->lock);
        pLookup->bDone = true;
        pLookup->bFound = bFound;
        pLookup->nAddr = nFound;
        pLookup->done.notify_all();
    }).detach();
    std::unique_lock<std::mutex> guard(pLookup->lock);
    if (!pLookup->done.wait_until(guard, *m_deadline, [&] { return pLookup->bDone; })) {
        m_log.Write(LogLevel::Warning, "check",
                    "the name look-up of " + strHost + " did not answer in time");
        return false;
    }
    nAddr = pLookup->nAddr;
    return pLookup->bFound;
}

bool CWinsockNetService::Connect(std::uint32_t nAddr, std::uint16_t nPort) {
    const Clock::time_point deadline = m_deadline.value_or(Clock::now() + m_budget);
    m_deadline.reset();
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        m_log.Write(LogLevel::Error, "check",
                    "no socket: " + Win32ErrorText(static_cast<unsigned long>(WSAGetLastError())));
        return false;
    }
    u_long nNonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nNonBlocking);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(nPort);
    address.sin_addr.s_addr = nAddr;
    bool bConnected = false;
    if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        bConnected = true;
    } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        const long nLeftMs = left.count() > 0 ? static_cast<long>(left.count()) : 0;
        timeval timeout{nLeftMs / 1000, (nLeftMs % 1000) * 1000};
        fd_set writable;
        fd_set failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(s, &writable);
        FD_SET(s, &failed);
        // A refused connect is reported through the exception set on Windows.
        bConnected = select(0, nullptr, &writable, &failed, &timeout) > 0 &&
                     FD_ISSET(s, &writable) && !FD_ISSET(s, &failed);
    }
    closesocket(s);
    return bConnected;
}

} // namespace tarnwick
