#include "platform/windows/Win32.h"

#include "platform/CProbeConnector.h"
#include "platform/ILog.h"
#include "platform/windows/CWinsockNetService.h"
#include "platform/windows/WinError.h"

namespace tarnwick {

namespace {
EConnectResult Failure(int nError, std::string& strDetail) {
    strDetail = Win32ErrorText(static_cast<unsigned long>(nError));
    return nError == WSAECONNREFUSED ? EConnectResult::Refused
           : nError == WSAETIMEDOUT  ? EConnectResult::TimedOut
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
        strDetail = bLookUp ? Win32ErrorText(static_cast<unsigned long>(nStatus))
                            : std::string("not an address");
        return bLookUp && (nStatus == WSAHOST_NOT_FOUND || nStatus == WSANO_DATA)
                   ? EConnectResult::NameNotFound
                   : EConnectResult::Unreachable;
    }
    AppendProbeAddresses(pFound, AF_INET, AF_INET6, addresses);
    freeaddrinfo(pFound);
    return EConnectResult::Connected;
}
} // namespace

CWinsockNetService::CWinsockNetService(ILog& log, std::function<bool()> fnQuitRequested,
                                       int nBudgetMs)
    : m_log(log), m_fnQuitRequested(std::move(fnQuitRequested)), m_nBudgetMs(nBudgetMs),
      m_nSocket(INVALID_SOCKET) {
    WSADATA data{};
    const int nError = WSAStartup(MAKEWORD(2, 2), &data);
    m_bStarted = nError == 0;
    if (!m_bStarted)
        m_log.Write(LogLevel::Error, "check",
                    "Winsock does not start: " +
                        Win32ErrorText(static_cast<unsigned long>(nError)));
}

CWinsockNetService::~CWinsockNetService() {
    CloseConnect();
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
    return CProbeConnector(*this, m_nBudgetMs).Connect(strHost, bLookUp, nPort, strDetail);
}

ProbeResolveFn CWinsockNetService::GetResolver() const {
    return &Resolve;
}

bool CWinsockNetService::StartConnect(const SProbeAddress& address, EConnectResult& result,
                                      std::string& strDetail) {
    sockaddr_storage addr{};
    const auto nLen = static_cast<int>(address.CopyTo(&addr, sizeof addr));
    CloseConnect();
    const SOCKET s = socket(addr.ss_family, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        result = Failure(WSAGetLastError(), strDetail);
        strDetail = "no socket: " + strDetail;
        return false;
    }
    m_nSocket = s;
    u_long nNonBlocking = 1;
    if (ioctlsocket(s, FIONBIO, &nNonBlocking) != 0) {
        result = Failure(WSAGetLastError(), strDetail);
        return false;
    }
    if (connect(s, reinterpret_cast<const sockaddr*>(&addr), nLen) == 0) {
        result = EConnectResult::Connected;
        return false;
    }
    const int nError = WSAGetLastError();
    if (nError == WSAEWOULDBLOCK)
        return true;
    result = Failure(nError, strDetail);
    return false;
}

bool CWinsockNetService::WaitConnect(int nMs, EConnectResult& result, std::string& strDetail) {
    const SOCKET s = m_nSocket;
    timeval timeout{nMs / 1000, (nMs % 1000) * 1000};
    fd_set writable;
    fd_set failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    // A refused connect is reported through the exception set on Windows.
    const int n = select(0, nullptr, &writable, &failed, &timeout);
    if (n == 0)
        return false;
    if (n < 0) {
        result = Failure(WSAGetLastError(), strDetail);
    } else if (FD_ISSET(s, &failed)) {
        int nError = 0;
        int nLen = sizeof nError;
        if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&nError), &nLen) != 0 ||
            nError == 0)
            nError = WSAECONNREFUSED;
        result = Failure(nError, strDetail);
    } else {
        result = EConnectResult::Connected;
    }
    return true;
}

void CWinsockNetService::CloseConnect() {
    if (m_nSocket != INVALID_SOCKET)
        closesocket(static_cast<SOCKET>(m_nSocket));
    m_nSocket = INVALID_SOCKET;
}

bool CWinsockNetService::IsAborted() {
    return m_fnQuitRequested && m_fnQuitRequested();
}

} // namespace tarnwick
