#include "platform/windows/Win32.h"

#include "platform/windows/CWinStateStore.h"
#include "platform/windows/WinError.h"

#include <cstdlib>

namespace tarnwick {

namespace {
const char* const kStatusName = "status.txt";

bool WriteAll(HANDLE hFile, const std::string& strData) {
    DWORD dwWritten = 0;
    return WriteFile(hFile, strData.data(), static_cast<DWORD>(strData.size()), &dwWritten,
                     nullptr) &&
           dwWritten == strData.size();
}
} // namespace

CWinStateStore::CWinStateStore(std::string strStateDir) : m_strStateDir(std::move(strStateDir)) {}

CWinStateStore::~CWinStateStore() {
    // The report speaks for a running instance only.
    if (m_bStatusWritten)
        DeleteFileA(PathOf(kStatusName).c_str());
}

std::string CWinStateStore::DefaultStateDir() {
    const char* pszBase = std::getenv("LOCALAPPDATA");
    if (pszBase == nullptr || *pszBase == '\0')
        return {};
    return std::string(pszBase) + "\\Tarnwick";
}

bool CWinStateStore::Fail(const std::string& strPath) {
    m_strLastError = strPath + ": " + Win32ErrorText(::GetLastError());
    return false;
}

bool CWinStateStore::MakeDir() {
    if (m_strStateDir.empty()) {
        m_strLastError = "LOCALAPPDATA is not set";
        return false;
    }
    if (CreateDirectoryA(m_strStateDir.c_str(), nullptr) ||
        ::GetLastError() == ERROR_ALREADY_EXISTS)
        return true;
    return Fail(m_strStateDir);
}

bool CWinStateStore::ReadLines(const std::string& strName, std::vector<std::string>& lines) {
    const std::string strPath = PathOf(strName);
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return Fail(strPath);
    std::string strContent;
    char buffer[4096];
    DWORD dwRead = 0;
    bool bOk = true;
    while ((bOk = ReadFile(hFile, buffer, sizeof buffer, &dwRead, nullptr) != FALSE) && dwRead > 0)
        strContent.append(buffer, dwRead);
    if (!bOk)
        Fail(strPath);
    CloseHandle(hFile);
    if (!bOk)
        return false;
    lines.clear();
    std::size_t nStart = 0;
    while (nStart < strContent.size()) {
        std::size_t nEnd = strContent.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = strContent.size();
        std::string strLine = strContent.substr(nStart, nEnd - nStart);
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        if (!strLine.empty())
            lines.push_back(strLine);
        nStart = nEnd + 1;
    }
    return true;
}

bool CWinStateStore::AppendLine(const std::string& strName, const std::string& strLine) {
    if (!MakeDir())
        return false;
    const std::string strPath = PathOf(strName);
    // Append-only access: each write lands at the end of the file as one piece.
    HANDLE hFile = CreateFileA(strPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return Fail(strPath);
    const bool bOk = WriteAll(hFile, strLine + "\n") && FlushFileBuffers(hFile);
    if (!bOk)
        Fail(strPath);
    CloseHandle(hFile);
    return bOk;
}

bool CWinStateStore::WriteAtomically(const std::string& strPath, const std::string& strContent) {
    const std::string strTemp = strPath + ".new";
    HANDLE hFile = CreateFileA(strTemp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return Fail(strTemp);
    const bool bOk = WriteAll(hFile, strContent) && FlushFileBuffers(hFile);
    if (!bOk)
        Fail(strTemp);
    CloseHandle(hFile);
    if (!bOk || !MoveFileExA(strTemp.c_str(), strPath.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        if (bOk)
            Fail(strPath);
        DeleteFileA(strTemp.c_str());
        return false;
    }
    return true;
}

bool CWinStateStore::WriteLines(const std::string& strName, const std::vector<std::string>& lines) {
    const std::string strPath = PathOf(strName);
    if (lines.empty()) {
        if (DeleteFileA(strPath.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND ||
            ::GetLastError() == ERROR_PATH_NOT_FOUND)
            return true;
        return Fail(strPath);
    }
    if (!MakeDir())
        return false;
    std::string strContent;
    for (const std::string& strLine : lines)
        strContent += strLine + "\n";
    return WriteAtomically(strPath, strContent);
}

bool CWinStateStore::PublishStatus(const std::string& strText) {
    if (!MakeDir())
        return false;
    m_bStatusWritten = true;
    return WriteAtomically(PathOf(kStatusName),
                           "pid: " + std::to_string(::GetCurrentProcessId()) + "\n" + strText);
}

std::string CWinStateStore::GetBootId() {
    // The moment the machine started, to the minute, as the first caller of this boot worked
    // it out: it is kept in a volatile key, which the system forgets at the next start, so
    // that a later caller whose reckoning crosses a minute's edge still gets the same id.
    // The parent is made an ordinary key first: one made along with a volatile key would be
    // volatile too, and could then hold no lasting key such as the settings'.
    HKEY hParent = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Tarnwick", 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_CREATE_SUB_KEY, nullptr, &hParent,
                        nullptr) != ERROR_SUCCESS)
        return {}; // unknown: no outage is taken for one a reboot ended
    HKEY hKey = nullptr;
    const LSTATUS nStatus =
        RegCreateKeyExA(hParent, "Boot", 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &hKey, nullptr);
    RegCloseKey(hParent);
    if (nStatus != ERROR_SUCCESS)
        return {};
    char szId[64] = {};
    DWORD cbId = sizeof szId - 1;
    DWORD dwType = 0;
    std::string strId;
    if (RegQueryValueExA(hKey, "Id", nullptr, &dwType, reinterpret_cast<BYTE*>(szId), &cbId) ==
            ERROR_SUCCESS &&
        dwType == REG_SZ) {
        strId = szId;
    } else {
        const ULONGLONG nUpMs = GetTickCount64();
        FILETIME ft{};
        GetSystemTimeAsFileTime(&ft);
        const ULONGLONG nNow = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
        strId = "boot-" + std::to_string((nNow / 10000 - nUpMs) / 60000);
        RegSetValueExA(hKey, "Id", 0, REG_SZ, reinterpret_cast<const BYTE*>(strId.c_str()),
                       static_cast<DWORD>(strId.size() + 1));
    }
    RegCloseKey(hKey);
    return strId;
}

} // namespace tarnwick
