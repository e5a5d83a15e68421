#include "platform/windows/Win32.h"

#include "platform/ILog.h"
#include "platform/TextUtil.h"
#include "platform/windows/CWinAutorunStore.h"
#include "platform/windows/WinError.h"

#include <cstdio>
#include <fstream>
#include <share.h>

namespace tarnwick {

namespace {
constexpr const char* kValueName = "Tarnwick";
constexpr const char* kMarker = "; Tarnwick";

std::string Quoted(const std::string& strCommand) {
    return "\"" + strCommand + "\"";
}
} // namespace

CWinAutorunStore::CWinAutorunStore(ILog& log, std::string strRunKey, std::string strWinIniPath)
    : m_log(log), m_strRunKey(std::move(strRunKey)), m_strWinIniPath(std::move(strWinIniPath)) {}

std::string CWinAutorunStore::DefaultWinIniPath() {
    char szDir[MAX_PATH] = {};
    const UINT nLen = GetWindowsDirectoryA(szDir, MAX_PATH);
    if (nLen == 0 || nLen >= MAX_PATH)
        return {};
    return std::string(szDir, nLen) + "\\win.ini";
}

bool CWinAutorunStore::SetRunKeyEntry(bool bAdd, const std::string& strCommand) {
    HKEY hKey = nullptr;
    LSTATUS nStatus = 0;
    if (bAdd) {
        nStatus = RegCreateKeyExA(HKEY_CURRENT_USER, m_strRunKey.c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &hKey, nullptr);
        if (nStatus == ERROR_SUCCESS) {
            const std::string strValue = Quoted(strCommand);
            nStatus = RegSetValueExA(hKey, kValueName, 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(strValue.c_str()),
                                     static_cast<DWORD>(strValue.size() + 1));
            RegCloseKey(hKey);
        }
    } else {
        nStatus = RegOpenKeyExA(HKEY_CURRENT_USER, m_strRunKey.c_str(), 0, KEY_SET_VALUE, &hKey);
        if (nStatus == ERROR_SUCCESS) {
            nStatus = RegDeleteValueA(hKey, kValueName);
            if (nStatus == ERROR_FILE_NOT_FOUND)
                nStatus = ERROR_SUCCESS;
            RegCloseKey(hKey);
        } else if (nStatus == ERROR_FILE_NOT_FOUND) {
            nStatus = ERROR_SUCCESS; // no Run key: nothing to remove
        }
    }
    if (nStatus != ERROR_SUCCESS) {
        m_log.Write(LogLevel::Error, "autorun",
                    std::string(bAdd ? "cannot write " : "cannot remove ") + "HKEY_CURRENT_USER\\" +
                        m_strRunKey + "\\" + kValueName + ": " +
                        Win32ErrorText(static_cast<unsigned long>(nStatus)));
        return false;
    }
    return true;
}

void CWinAutorunStore::EditWinIniLines(std::vector<std::string>& lines, bool bAdd,
                                       const std::string& strLine) {
    const std::string strMarker = MbUpper(kMarker);
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t nSection = kNone;
    std::size_t nOwn = kNone;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string strUpper = MbUpper(lines[i]);
        if (strUpper.find("[WINDOWS]") != std::string::npos)
            nSection = i;
        if (nSection == kNone)
            continue;
        if (strUpper.find(strMarker) != std::string::npos) {
            nOwn = i;
            break;
        }
        if (i == nSection)
            continue;
        if (lines[i].find('[') != std::string::npos)
            break;
    }
    if (nOwn != kNone) {
        if (bAdd)
            lines[nOwn] = strLine;
        else
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(nOwn));
    } else if (bAdd) {
        if (nSection != kNone) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(nSection + 1), strLine);
        } else {
            lines.emplace_back("[WINDOWS]");
            lines.push_back(strLine);
        }
    }
}

bool CWinAutorunStore::SetWinIniEntry(bool bAdd, const std::string& strCommand) {
    // Read without sharing: nobody may change the file while it is read. A missing WIN.INI
    // is never created.
    std::FILE* pIn = _fsopen(m_strWinIniPath.c_str(), "rt", _SH_DENYRW);
    if (pIn == nullptr) {
        m_log.Write(LogLevel::Warning, "autorun", "cannot read " + m_strWinIniPath);
        return false;
    }
    std::vector<std::string> lines;
    std::string strLine;
    char buf[1024];
    bool bPending = false;
    while (std::fgets(buf, sizeof buf, pIn) != nullptr) {
        strLine += buf;
        bPending = true;
        if (!strLine.empty() && strLine.back() == '\n') {
            strLine.pop_back();
            lines.push_back(strLine);
            strLine.clear();
            bPending = false;
        }
    }
    const bool bReadError = std::ferror(pIn) != 0;
    std::fclose(pIn);
    if (bPending)
        lines.push_back(strLine);
    if (bReadError) {
        // A partly read file must not be written back: its tail would be lost.
        m_log.Write(LogLevel::Error, "autorun", "cannot read all of " + m_strWinIniPath);
        return false;
    }
    EditWinIniLines(lines, bAdd, "run=" + Quoted(strCommand) + kMarker);

    // Written beside it and then put in its place, so that a failed write (a full disk)
    // leaves the old file whole.
    const std::string strTemp = m_strWinIniPath + ".tarnwick-new";
    std::FILE* pOut = _fsopen(strTemp.c_str(), "wt", _SH_DENYNO);
    if (pOut == nullptr) {
        m_log.Write(LogLevel::Error, "autorun", "cannot write " + strTemp);
        return false;
    }
    bool bOk = true;
    for (const std::string& strOut : lines)
        bOk = std::fputs(strOut.c_str(), pOut) >= 0 && std::fputc('\n', pOut) != EOF && bOk;
    bOk = std::fclose(pOut) == 0 && bOk;
    if (bOk && !MoveFileExA(strTemp.c_str(), m_strWinIniPath.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        m_log.Write(LogLevel::Error, "autorun",
                    "cannot replace " + m_strWinIniPath + ": " + Win32ErrorText(::GetLastError()));
        bOk = false;
    } else if (!bOk) {
        m_log.Write(LogLevel::Error, "autorun", "writing " + strTemp + " failed");
    }
    if (!bOk)
        DeleteFileA(strTemp.c_str());
    return bOk;
}

} // namespace tarnwick
