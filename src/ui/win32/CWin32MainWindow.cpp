#include "platform/windows/Win32.h"

#include "res/Resource.h"
#include "ui/win32/CWin32MainWindow.h"

#include <memory>

namespace tarnwick {

namespace {
constexpr const char* kClassName = "TarnwickMainFrame";
constexpr UINT kPostedFunction = WM_APP + 1;
} // namespace

CWin32MainWindow::CWin32MainWindow() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &CWin32MainWindow::WndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    RegisterClassExA(&wc);
    m_uTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    // A top-level window (not a message-only one), so that it hears "TaskbarCreated" and
    // setting changes, which go to top-level windows only. It is never shown.
    m_hWnd = CreateWindowExA(0, kClassName, "Tarnwick", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                             CW_USEDEFAULT, 0, nullptr, nullptr, wc.hInstance, this);
}

CWin32MainWindow::~CWin32MainWindow() {
    if (m_hWnd != nullptr && IsWindow(m_hWnd))
        DestroyWindow(m_hWnd);
}

void CWin32MainWindow::Post(std::function<void()> fn) {
    auto* pFn = new std::function<void()>(std::move(fn));
    if (!PostMessageA(m_hWnd, kPostedFunction, 0, reinterpret_cast<LPARAM>(pFn)))
        delete pFn;
}

int CWin32MainWindow::Run() {
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

bool CWin32MainWindow::IsQuitRequested() {
    MSG msg{};
    if (!m_bClosing && m_hWnd != nullptr &&
        PeekMessageA(&msg, m_hWnd, WM_CLOSE, WM_CLOSE, PM_NOREMOVE | PM_NOYIELD))
        m_bClosing = true;
    return m_bClosing || m_bSessionEnding;
}

LRESULT CALLBACK CWin32MainWindow::WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_NCCREATE) {
        auto* pCreate = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pCreate->lpCreateParams));
    }
    auto* pThis = reinterpret_cast<CWin32MainWindow*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (pThis != nullptr && pThis->m_hWnd == hWnd)
        return pThis->OnMessage(uMsg, wParam, lParam);
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

LRESULT CWin32MainWindow::OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == m_uTaskbarCreated && m_uTaskbarCreated != 0) {
        if (m_pTrayHandler != nullptr)
            m_pTrayHandler->OnTaskbarCreated();
        return 0;
    }
    switch (uMsg) {
    case WM_TIMER:
        if (m_pTimerHandler != nullptr)
            m_pTimerHandler->OnTimer(static_cast<unsigned>(wParam));
        return 0;
    case WM::TrayNotify:
        if (m_pTrayHandler != nullptr)
            m_pTrayHandler->OnTrayNotification(static_cast<unsigned>(wParam),
                                               static_cast<unsigned>(LOWORD(lParam)));
        return 0;
    case WM_SETTINGCHANGE:
        if (m_pTrayHandler != nullptr)
            m_pTrayHandler->OnSettingChange(static_cast<unsigned>(wParam));
        return 0;
    case kPostedFunction: {
        std::unique_ptr<std::function<void()>> pFn(
            reinterpret_cast<std::function<void()>*>(lParam));
        (*pFn)();
        return 0;
    }
    case WM_QUERYENDSESSION:
        m_bSessionEnding = true;
        return TRUE;
    case WM_ENDSESSION:
        m_bSessionEnding = wParam != FALSE;
        if (wParam != FALSE && m_fnEndSession)
            m_fnEndSession();
        return 0;
    case WM_CLOSE:
        m_bClosing = true;
        DestroyWindow(m_hWnd);
        return 0;
    case WM_DESTROY:
        m_hWnd = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(m_hWnd, uMsg, wParam, lParam);
    }
}

} // namespace tarnwick
