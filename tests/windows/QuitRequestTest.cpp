// The hidden main window notices a quit request while a probe holds its loop: an end of
// the session sent from another thread reaches it, a called-off end is forgotten, and a close
// waiting in the queue counts without being taken from it.
#include "platform/windows/Win32.h"

#include "ui/win32/CWin32MainWindow.h"

#include <gtest/gtest.h>

#include <thread>

namespace tarnwick {

namespace {

TEST(MainWindowTest, QuitRequestIsSeenWhileTheLoopIsHeld) {
    CWin32MainWindow window;
    const HWND hWnd = window.GetHwnd();
    if (hWnd == nullptr)
        GTEST_SKIP() << "Wine makes no windows without a display (run under Xvfb)";
    EXPECT_FALSE(window.IsQuitRequested());

    // Sent from elsewhere, as the system sends it; answered only when the window asks.
    LRESULT nAnswer = FALSE;
    std::thread session([hWnd, &nAnswer] {
        nAnswer = SendMessageA(hWnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    });
    bool bSeen = false;
    for (int i = 0; i < 500 && !bSeen; ++i) {
        bSeen = window.IsQuitRequested();
        if (!bSeen)
            Sleep(10);
    }
    session.join();
    EXPECT_TRUE(bSeen);
    EXPECT_EQ(nAnswer, TRUE); // the session may end

    SendMessageA(hWnd, WM_ENDSESSION, FALSE, 0); // another program called the end off
    EXPECT_FALSE(window.IsQuitRequested());

    PostMessageA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(window.IsQuitRequested());
    MSG msg{};
    EXPECT_TRUE(PeekMessageA(&msg, hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE));
}

} // namespace

} // namespace tarnwick
