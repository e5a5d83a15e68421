#include "platform/windows/Win32.h"

#include "platform/ILog.h"
#include "platform/windows/CWinPowerService.h"
#include "platform/windows/WinError.h"

namespace tarnwick {

CWinPowerService::CWinPowerService(ILog& log, PFN_EXIT_WINDOWS pfnExitWindows)
    : m_log(log), m_pfnExitWindows(pfnExitWindows) {}

bool CWinPowerService::EnableShutdownPrivilege() {
    HANDLE hToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &hToken)) {
        m_log.Write(LogLevel::Error, "reboot",
                    "cannot open the process token: " + Win32ErrorText(::GetLastError()));
        return false;
    }
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool bOk = LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
    if (bOk) {
        // Succeeds with ERROR_NOT_ALL_ASSIGNED when the user does not hold the privilege.
        bOk = AdjustTokenPrivileges(hToken, FALSE, &privileges, 0, nullptr, nullptr) &&
              ::GetLastError() == ERROR_SUCCESS;
    }
    if (!bOk)
        m_log.Write(LogLevel::Error, "reboot",
                    "cannot enable the shutdown privilege: " + Win32ErrorText(::GetLastError()));
    CloseHandle(hToken);
    return bOk;
}

bool CWinPowerService::ExitSystem(unsigned uFlags) {
    const char* pszStep = (uFlags & EWX::Reboot) != 0 ? "reboot" : "shutdown";
    // Without the privilege the request below fails and says why.
    EnableShutdownPrivilege();
    if (m_pfnExitWindows(uFlags | EWX::Force, 0) == 0) {
        m_log.Write(LogLevel::Error, pszStep,
                    "Windows refused the request: " + Win32ErrorText(::GetLastError()));
        return false;
    }
    m_log.Write(LogLevel::Notice, pszStep, "Windows accepted the request");
    return true;
}

} // namespace tarnwick
