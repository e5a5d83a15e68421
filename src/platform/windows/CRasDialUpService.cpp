#include "platform/windows/Win32.h"

#include "platform/ILog.h"
#include "platform/windows/CRasDialUpService.h"
#include "platform/windows/WinError.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace tarnwick {

// The six RAS calls the program makes, looked up by their ANSI names.
struct CRasDialUpService::SEntryPoints {
    decltype(&RasEnumConnectionsA) pfnEnumConnections = nullptr;
    decltype(&RasGetConnectStatusA) pfnGetConnectStatus = nullptr;
    decltype(&RasGetEntryDialParamsA) pfnGetEntryDialParams = nullptr;
    decltype(&RasDialA) pfnDial = nullptr;
    decltype(&RasHangUpA) pfnHangUp = nullptr;
    decltype(&RasEnumEntriesA) pfnEnumEntries = nullptr;
};

namespace {
template <typename T> void Resolve(HMODULE hModule, const char* pszName, T& pfn) {
    pfn = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(hModule, pszName)));
}

std::string HandleText(HRASCONN hConn) {
    return std::to_string(reinterpret_cast<std::uintptr_t>(hConn));
}

HRASCONN HandleOf(const SActiveConnection& connection) {
    return reinterpret_cast<HRASCONN>(static_cast<std::uintptr_t>(
        std::stoull(connection.strHandle.empty() ? "0" : connection.strHandle)));
}

// A RAS listing into a buffer of records: starts with room for 20 and grows to the size RAS
// asks for, so that a phone book or a connection list of any length is listed whole.
template <typename Record, typename Call>
DWORD ListRecords(std::vector<Record>& records, DWORD& nCount, Call call) {
    records.assign(20, Record{});
    DWORD dwStatus = ERROR_BUFFER_TOO_SMALL;
    for (int nTry = 0; nTry < 4 && dwStatus == ERROR_BUFFER_TOO_SMALL; ++nTry) {
        records[0].dwSize = sizeof(Record);
        DWORD cb = static_cast<DWORD>(records.size() * sizeof(Record));
        nCount = 0;
        dwStatus = call(records.data(), &cb, &nCount);
        if (dwStatus == ERROR_BUFFER_TOO_SMALL) {
            records.assign(cb / sizeof(Record) + 1, Record{});
        }
    }
    if (dwStatus == ERROR_SUCCESS && nCount > records.size())
        nCount = static_cast<DWORD>(records.size());
    return dwStatus;
}
} // namespace

CRasDialUpService::CRasDialUpService(ILog& log, const std::string& strModule)
    : m_log(log), m_pApi(new SEntryPoints) {
    HMODULE hModule = LoadLibraryExA(strModule.c_str(), nullptr, 0);
    if (hModule == nullptr) {
        m_log.Write(LogLevel::Error, "dial",
                    "cannot load " + strModule + ": " + Win32ErrorText(::GetLastError()) +
                        "; no dial-up connection can be checked or dialled");
        return;
    }
    m_hModule = hModule;
    Resolve(hModule, "RasEnumConnectionsA", m_pApi->pfnEnumConnections);
    Resolve(hModule, "RasGetConnectStatusA", m_pApi->pfnGetConnectStatus);
    Resolve(hModule, "RasGetEntryDialParamsA", m_pApi->pfnGetEntryDialParams);
    Resolve(hModule, "RasDialA", m_pApi->pfnDial);
    Resolve(hModule, "RasHangUpA", m_pApi->pfnHangUp);
    Resolve(hModule, "RasEnumEntriesA", m_pApi->pfnEnumEntries);
}

CRasDialUpService::~CRasDialUpService() {
    if (m_hModule != nullptr)
        FreeLibrary(static_cast<HMODULE>(m_hModule));
    delete m_pApi;
}

void CRasDialUpService::Fail(const char* pszStep, const std::string& strWhat,
                             unsigned long dwError) {
    m_log.Write(LogLevel::Warning, pszStep, strWhat + ": " + Win32ErrorText(dwError));
}

bool CRasDialUpService::EnumConnections(std::vector<SActiveConnection>& connections) {
    connections.clear();
    if (m_pApi->pfnEnumConnections == nullptr)
        return false;
    std::vector<RASCONNA> records;
    DWORD nCount = 0;
    const DWORD dwStatus = ListRecords(records, nCount, [this](RASCONNA* p, DWORD* cb, DWORD* n) {
        return m_pApi->pfnEnumConnections(p, cb, n);
    });
    if (dwStatus != ERROR_SUCCESS) {
        Fail("check", "cannot list the RAS connections", dwStatus);
        return false;
    }
    for (DWORD i = 0; i < nCount; ++i)
        connections.push_back({records[i].szEntryName, HandleText(records[i].hrasconn)});
    return true;
}

bool CRasDialUpService::GetConnectStatus(const SActiveConnection& connection) {
    if (m_pApi->pfnGetConnectStatus == nullptr)
        return false;
    RASCONNSTATUSA status{};
    status.dwSize = sizeof status;
    const DWORD dwStatus = m_pApi->pfnGetConnectStatus(HandleOf(connection), &status);
    if (dwStatus != ERROR_SUCCESS) {
        Fail("check", "no status of the connection of " + connection.strEntryName, dwStatus);
        return false;
    }
    return true;
}

bool CRasDialUpService::HangUp(const SActiveConnection& connection) {
    if (m_pApi->pfnHangUp == nullptr)
        return false;
    const HRASCONN hConn = HandleOf(connection);
    const DWORD dwStatus = m_pApi->pfnHangUp(hConn);
    if (dwStatus != ERROR_SUCCESS) {
        Fail("hangup", "cannot hang up " + connection.strEntryName, dwStatus);
        return false;
    }
    // RAS ends the connection in the background; a dial of the same entry right away would
    // still find it listed. Wait (briefly, bounded) until its handle is gone.
    if (m_pApi->pfnGetConnectStatus != nullptr) {
        for (int nWait = 0; nWait < 60; ++nWait) {
            RASCONNSTATUSA status{};
            status.dwSize = sizeof status;
            if (m_pApi->pfnGetConnectStatus(hConn, &status) == ERROR_INVALID_HANDLE)
                break;
            Sleep(50);
        }
    }
    return true;
}

bool CRasDialUpService::EnumEntries(std::vector<std::string>& entries) {
    entries.clear();
    if (m_pApi->pfnEnumEntries == nullptr)
        return false;
    std::vector<RASENTRYNAMEA> records;
    DWORD nCount = 0;
    const DWORD dwStatus =
        ListRecords(records, nCount, [this](RASENTRYNAMEA* p, DWORD* cb, DWORD* n) {
            return m_pApi->pfnEnumEntries(nullptr, nullptr, p, cb, n);
        });
    if (dwStatus != ERROR_SUCCESS) {
        Fail("dial", "cannot list the phone book", dwStatus);
        return false;
    }
    for (DWORD i = 0; i < nCount; ++i)
        entries.emplace_back(records[i].szEntryName);
    return true;
}

bool CRasDialUpService::Dial(const std::string& strEntry) {
    if (m_pApi->pfnGetEntryDialParams == nullptr || m_pApi->pfnDial == nullptr)
        return false;
    RASDIALPARAMSA params{};
    params.dwSize = sizeof params;
    // A phone-book entry name has at most RAS_MaxEntryName characters; a longer name (only a
    // hand-edited profile can hold one) names no entry and must not overflow the field.
    if (strEntry.size() > RAS_MaxEntryName) {
        m_log.Write(LogLevel::Warning, "dial",
                    "the entry name is longer than " + std::to_string(RAS_MaxEntryName) +
                        " characters, which no phone-book entry has: " + strEntry.substr(0, 40) +
                        "...");
        return false;
    }
    std::memcpy(params.szEntryName, strEntry.c_str(), strEntry.size() + 1);
    BOOL bPassword = FALSE;
    DWORD dwStatus = m_pApi->pfnGetEntryDialParams(nullptr, &params, &bPassword);
    if (dwStatus != ERROR_SUCCESS) {
        Fail("dial", "no phone-book entry " + strEntry, dwStatus);
        return false;
    }
    HRASCONN hConn = nullptr;
    dwStatus = m_pApi->pfnDial(nullptr, nullptr, &params, 0, nullptr, &hConn);
    SecureZeroMemory(params.szPassword, sizeof params.szPassword);
    if (dwStatus != ERROR_SUCCESS) {
        Fail("dial", "dialling " + strEntry + " failed", dwStatus);
        // A failed dial leaves its handle open until it is hung up.
        if (hConn != nullptr && m_pApi->pfnHangUp != nullptr)
            m_pApi->pfnHangUp(hConn);
        return false;
    }
    return true;
}

} // namespace tarnwick
