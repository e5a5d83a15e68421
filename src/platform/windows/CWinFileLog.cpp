#include "platform/windows/Win32.h"

#include "platform/windows/CWinFileLog.h"

#include <cstdlib>

namespace tarnwick {

std::string CWinFileLog::DefaultPath() {
    const char* pszBase = std::getenv("LOCALAPPDATA");
    if (pszBase == nullptr || *pszBase == '\0')
        return {};
    const std::string strDir = std::string(pszBase) + "\\Tarnwick";
    CreateDirectoryA(strDir.c_str(), nullptr);
    return strDir + "\\Tarnwick.log";
}

CWinFileLog::CWinFileLog(const std::string& strPath) {
    if (!strPath.empty())
        m_pFile = std::fopen(strPath.c_str(), "a");
}

CWinFileLog::~CWinFileLog() {
    if (m_pFile != nullptr)
        std::fclose(m_pFile);
}

void CWinFileLog::Write(LogLevel level, const std::string& strStep, const std::string& strText) {
    const char* pszLevel = "info";
    switch (level) {
    case LogLevel::Error:
        pszLevel = "error";
        break;
    case LogLevel::Warning:
        pszLevel = "warning";
        break;
    case LogLevel::Notice:
        pszLevel = "notice";
        break;
    case LogLevel::Info:
        pszLevel = "info";
        break;
    case LogLevel::Debug:
        pszLevel = "debug";
        break;
    }
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    char szTime[32];
    std::snprintf(szTime, sizeof szTime, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    const std::string strLine =
        std::string(szTime) + " " + pszLevel + " " + strStep + ": " + strText + "\n";
    OutputDebugStringA(strLine.c_str());
    if (m_pFile != nullptr) {
        std::fputs(strLine.c_str(), m_pFile);
        std::fflush(m_pFile);
    }
}

} // namespace tarnwick
