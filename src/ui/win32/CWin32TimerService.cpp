#include "platform/windows/Win32.h"

#include "ui/win32/CWin32MainWindow.h"
#include "ui/win32/CWin32TimerService.h"

namespace tarnwick {

void CWin32TimerService::SetHandler(ITimerHandler* pHandler) {
    m_window.SetTimerHandler(pHandler);
}

bool CWin32TimerService::SetTimer(unsigned nIDEvent, std::uint32_t nElapseMs) {
    return ::SetTimer(m_window.GetHwnd(), nIDEvent, nElapseMs, nullptr) != 0;
}

void CWin32TimerService::KillTimer(unsigned nIDEvent) {
    ::KillTimer(m_window.GetHwnd(), nIDEvent);
}

} // namespace tarnwick
