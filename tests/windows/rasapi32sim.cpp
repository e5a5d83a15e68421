// Simulated RAS module for the Windows tests: the six RAS calls of the program, over a
// phone book and a list of connections kept in a text file that the test names in
// RASSIM_STATE, one line each:
//   entry NAME           a phone-book entry
//   connected ID NAME    an active connection (ID is its handle)
//   faildial NAME        dialling this entry fails (after giving out a handle)
// Every call is appended to RASSIM_STATE.log, e.g. "RasDial Work" or "RasHangUp 3".
// clang-format off
#include <windows.h>
#include <ras.h>
#include <raserror.h>
// clang-format on

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {
struct SState {
    std::vector<std::string> entries;
    std::vector<std::pair<std::uintptr_t, std::string>> connections;
    std::vector<std::string> failing;
};

std::string StatePath() {
    const char* psz = std::getenv("RASSIM_STATE");
    return psz != nullptr ? psz : "";
}

SState Load() {
    SState state;
    std::ifstream in(StatePath());
    std::string strLine;
    while (std::getline(in, strLine)) {
        if (strLine.rfind("entry ", 0) == 0) {
            state.entries.push_back(strLine.substr(6));
        } else if (strLine.rfind("faildial ", 0) == 0) {
            state.failing.push_back(strLine.substr(9));
        } else if (strLine.rfind("connected ", 0) == 0) {
            const std::size_t nSpace = strLine.find(' ', 10);
            state.connections.emplace_back(std::stoull(strLine.substr(10, nSpace - 10)),
                                           strLine.substr(nSpace + 1));
        }
    }
    return state;
}

void Save(const SState& state) {
    std::ofstream out(StatePath(), std::ios::trunc);
    for (const auto& strEntry : state.entries)
        out << "entry " << strEntry << "\n";
    for (const auto& strEntry : state.failing)
        out << "faildial " << strEntry << "\n";
    for (const auto& [id, strName] : state.connections)
        out << "connected " << id << " " << strName << "\n";
}

void Log(const std::string& strLine) {
    std::ofstream(StatePath() + ".log", std::ios::app) << strLine << "\n";
}

const std::string* FindEntry(const SState& state, const char* pszName) {
    for (const auto& strEntry : state.entries)
        if (_stricmp(strEntry.c_str(), pszName) == 0)
            return &strEntry;
    return nullptr;
}

template <typename Record>
DWORD Fill(Record* pRecords, LPDWORD pcb, LPDWORD pcCount, std::size_t nCount,
           void (*fill)(Record&, std::size_t, const SState&), const SState& state) {
    if (pRecords == nullptr || pRecords->dwSize != sizeof(Record))
        return ERROR_INVALID_SIZE;
    const DWORD cbNeeded = static_cast<DWORD>(nCount * sizeof(Record));
    if (*pcb < cbNeeded) {
        *pcb = cbNeeded;
        return ERROR_BUFFER_TOO_SMALL;
    }
    for (std::size_t i = 0; i < nCount; ++i) {
        pRecords[i] = Record{};
        pRecords[i].dwSize = sizeof(Record);
        fill(pRecords[i], i, state);
    }
    *pcb = cbNeeded;
    *pcCount = static_cast<DWORD>(nCount);
    return ERROR_SUCCESS;
}
} // namespace

extern "C" {
__declspec(dllexport) DWORD APIENTRY
    RasEnumEntriesA(LPCSTR, LPCSTR, LPRASENTRYNAMEA pEntries, LPDWORD pcb, LPDWORD pcEntries) {
    const SState state = Load();
    Log("RasEnumEntries");
    return Fill<RASENTRYNAMEA>(
        pEntries, pcb, pcEntries, state.entries.size(),
        [](RASENTRYNAMEA& r, std::size_t i, const SState& s) {
            std::snprintf(r.szEntryName, sizeof r.szEntryName, "%s", s.entries[i].c_str());
        },
        state);
}

__declspec(dllexport) DWORD APIENTRY
    RasEnumConnectionsA(LPRASCONNA pConns, LPDWORD pcb, LPDWORD pcConns) {
    const SState state = Load();
    Log("RasEnumConnections");
    return Fill<RASCONNA>(
        pConns, pcb, pcConns, state.connections.size(),
        [](RASCONNA& r, std::size_t i, const SState& s) {
            r.hrasconn = reinterpret_cast<HRASCONN>(s.connections[i].first);
            std::snprintf(r.szEntryName, sizeof r.szEntryName, "%s",
                          s.connections[i].second.c_str());
        },
        state);
}

__declspec(dllexport) DWORD APIENTRY
    RasGetConnectStatusA(HRASCONN hConn, LPRASCONNSTATUSA pStatus) {
    if (pStatus == nullptr || pStatus->dwSize != sizeof(RASCONNSTATUSA))
        return ERROR_INVALID_SIZE;
    for (const auto& [id, strName] : Load().connections) {
        if (id == reinterpret_cast<std::uintptr_t>(hConn)) {
            pStatus->rasconnstate = RASCS_Connected;
            return ERROR_SUCCESS;
        }
    }
    return ERROR_INVALID_HANDLE;
}

__declspec(dllexport) DWORD APIENTRY
    RasGetEntryDialParamsA(LPCSTR, LPRASDIALPARAMSA pParams, LPBOOL pbPassword) {
    if (pParams == nullptr || pParams->dwSize != sizeof(RASDIALPARAMSA))
        return ERROR_INVALID_SIZE;
    if (FindEntry(Load(), pParams->szEntryName) == nullptr)
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    std::snprintf(pParams->szUserName, sizeof pParams->szUserName, "user");
    *pbPassword = FALSE;
    return ERROR_SUCCESS;
}

__declspec(dllexport) DWORD APIENTRY RasDialA(LPRASDIALEXTENSIONS, LPCSTR, LPRASDIALPARAMSA pParams,
                                              DWORD, LPVOID pNotifier, LPHRASCONN phConn) {
    SState state = Load();
    Log(std::string("RasDial ") + pParams->szEntryName);
    const std::string* pEntry = FindEntry(state, pParams->szEntryName);
    if (pNotifier != nullptr || pEntry == nullptr)
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    std::uintptr_t id = 1;
    for (const auto& connection : state.connections)
        id = std::max(id, connection.first + 1);
    *phConn = reinterpret_cast<HRASCONN>(id);
    for (const auto& strFailing : state.failing)
        if (_stricmp(strFailing.c_str(), pEntry->c_str()) == 0)
            return ERROR_NO_CARRIER;
    state.connections.emplace_back(id, *pEntry);
    Save(state);
    return ERROR_SUCCESS;
}

__declspec(dllexport) DWORD APIENTRY RasHangUpA(HRASCONN hConn) {
    SState state = Load();
    const std::uintptr_t id = reinterpret_cast<std::uintptr_t>(hConn);
    Log("RasHangUp " + std::to_string(id));
    for (auto it = state.connections.begin(); it != state.connections.end(); ++it) {
        if (it->first == id) {
            state.connections.erase(it);
            Save(state);
            return ERROR_SUCCESS;
        }
    }
    // A handle given out by a failed dial: released, nothing was listed.
    return ERROR_SUCCESS;
}
}
