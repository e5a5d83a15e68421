#pragma once

#include "engine/ITimerService.h"

namespace tarnwick {

class CWin32MainWindow;

// The window timers of the hidden main window (SetTimer, WM_TIMER).
class CWin32TimerService : public ITimerService {
public:
    explicit CWin32TimerService(CWin32MainWindow& window) : m_window(window) {}
    void SetHandler(ITimerHandler* pHandler) override;
    bool SetTimer(unsigned nIDEvent, std::uint32_t nElapseMs) override;
    void KillTimer(unsigned nIDEvent) override;

private:
    CWin32MainWindow& m_window;
};

} // namespace tarnwick
