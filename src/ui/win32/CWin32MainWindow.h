#pragma once

#include "platform/windows/Win32.h"

#include "engine/ITimerService.h"
#include "tray/IShellTray.h"

#include <functional>

namespace tarnwick {

// The program's one hidden top-level window: it receives the timers, the tray icon's
// notifications, "TaskbarCreated", setting changes and the functions posted to the loop. A
// close request (WM_CLOSE, as `taskkill` without /f sends it) ends the message loop.
class CWin32MainWindow {
public:
    CWin32MainWindow();
    ~CWin32MainWindow();
    CWin32MainWindow(const CWin32MainWindow&) = delete;
    CWin32MainWindow& operator=(const CWin32MainWindow&) = delete;

    HWND GetHwnd() const { return m_hWnd; }
    void SetTimerHandler(ITimerHandler* pHandler) { m_pTimerHandler = pHandler; }
    void SetTrayHandler(IShellTrayHandler* pHandler) { m_pTrayHandler = pHandler; }
    void Post(std::function<void()> fn);
    // Runs when the Windows session ends, before the process is ended without an exit.
    void SetEndSessionHandler(std::function<void()> fn) { m_fnEndSession = std::move(fn); }
    // Runs the message loop until the window is closed; the exit code.
    int Run();
    // True once the program is to quit: the window was closed or a close waits in its queue,
    // or the session is ending (until an end is called off). Asked while a probe blocks the
    // loop: it lets the messages that others send (the session's end) reach the window, and
    // takes nothing from the queue.
    bool IsQuitRequested();

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    UINT m_uTaskbarCreated = 0;
    ITimerHandler* m_pTimerHandler = nullptr;
    IShellTrayHandler* m_pTrayHandler = nullptr;
    std::function<void()> m_fnEndSession;
    bool m_bClosing = false;
    bool m_bSessionEnding = false;
};

} // namespace tarnwick
