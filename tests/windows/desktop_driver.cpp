// Test driver for the whole-program test: looks at the windows of a Wine virtual desktop
// from the inside (the desktop's windows are invisible to a program on another desktop)
// and tells the shell script where to click.
//   desktop_driver DESKTOP wait-class CLASS        "left top right bottom" of a visible CLASS
//                                                  window, once one is up
//   desktop_driver DESKTOP tabs TITLE               "x y" of each tab of TITLE's tab control
//   desktop_driver DESKTOP where TITLE ID           "x y" of the visible control ID in TITLE
//   desktop_driver DESKTOP set-text TITLE ID TEXT   sets the visible control ID's text
// Coordinates are the desktop's, which are the Xvfb screen's. Every wait gives up after 20 s.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
struct SFind {
    int nID;
    HWND hFound;
};

BOOL CALLBACK FindVisibleChild(HWND hWnd, LPARAM lParam) {
    auto* pFind = reinterpret_cast<SFind*>(lParam);
    if (GetDlgCtrlID(hWnd) == pFind->nID && IsWindowVisible(hWnd)) {
        pFind->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitWindow(const char* pszClass, const char* pszTitle) {
    for (int nTry = 0; nTry < 200; ++nTry) {
        HWND hWnd = FindWindowA(pszClass, pszTitle);
        if (hWnd != nullptr && IsWindowVisible(hWnd))
            return hWnd;
        Sleep(100);
    }
    std::fprintf(stderr, "no window %s %s\n", pszClass ? pszClass : "", pszTitle ? pszTitle : "");
    return nullptr;
}

// Waits too: a page that a click has just chosen may not be shown yet.
HWND VisibleChild(HWND hParent, int nID) {
    for (int nTry = 0; nTry < 200; ++nTry) {
        SFind find{nID, nullptr};
        EnumChildWindows(hParent, &FindVisibleChild, reinterpret_cast<LPARAM>(&find));
        if (find.hFound != nullptr)
            return find.hFound;
        Sleep(100);
    }
    std::fprintf(stderr, "no visible control %d\n", nID);
    return nullptr;
}

void PrintCentre(const RECT& rc) {
    std::printf("%ld %ld\n", (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

// The tab rectangles live in the program's memory: the message gets a buffer there. Fills
// rcTabs with them in screen coordinates, or names in pszWhy what failed.
bool ReadTabs(HWND hTab, std::vector<RECT>& rcTabs, const char*& pszWhy) {
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hTab, &dwPid);
    HANDLE hProcess =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, dwPid);
    if (hProcess == nullptr) {
        pszWhy = "the program's process could not be opened";
        return false;
    }
    void* pRemote = VirtualAllocEx(hProcess, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    const int nCount = static_cast<int>(SendMessageA(hTab, TCM_GETITEMCOUNT, 0, 0));
    pszWhy = pRemote == nullptr ? "no buffer in the program's memory"
             : nCount <= 0      ? "the tab control has no tabs yet"
                                : nullptr;
    rcTabs.clear();
    for (int nTab = 0; pszWhy == nullptr && nTab < nCount; ++nTab) {
        RECT rc{};
        if (SendMessageA(hTab, TCM_GETITEMRECT, static_cast<WPARAM>(nTab),
                         reinterpret_cast<LPARAM>(pRemote)) == 0 ||
            ReadProcessMemory(hProcess, pRemote, &rc, sizeof rc, nullptr) == 0) {
            pszWhy = "a tab's rectangle could not be read";
            break;
        }
        MapWindowPoints(hTab, nullptr, reinterpret_cast<POINT*>(&rc), 2);
        rcTabs.push_back(rc);
    }
    if (pRemote != nullptr)
        VirtualFreeEx(hProcess, pRemote, 0, MEM_RELEASE);
    CloseHandle(hProcess);
    return pszWhy == nullptr;
}

// Waits until TITLE's tab control has tabs: a dialog that has just come up may still be
// filling them in.
int PrintTabs(const char* pszTitle) {
    const char* pszWhy = "no window";
    std::vector<RECT> rcTabs;
    for (int nTry = 0; nTry < 200; ++nTry) {
        HWND hDlg = FindWindowA(nullptr, pszTitle);
        const bool bShown = hDlg != nullptr && IsWindowVisible(hDlg);
        HWND hTab = bShown ? FindWindowExA(hDlg, nullptr, WC_TABCONTROLA, nullptr) : nullptr;
        if (bShown && hTab == nullptr)
            pszWhy = "no tab control";
        if (hTab != nullptr && ReadTabs(hTab, rcTabs, pszWhy)) {
            for (const RECT& rc : rcTabs)
                PrintCentre(rc);
            return 0;
        }
        Sleep(100);
    }
    std::fprintf(stderr, "tabs of %s: %s\n", pszTitle, pszWhy);
    return 1;
}
} // namespace

int main(int argc, char* argv[]) {
    if (argc < 4)
        return 2;
    HDESK hDesk = OpenDesktopA(argv[1], 0, FALSE, GENERIC_ALL);
    if (hDesk == nullptr || !SetThreadDesktop(hDesk)) {
        std::fprintf(stderr, "no desktop %s\n", argv[1]);
        return 1;
    }
    const std::string strCommand = argv[2];
    if (strCommand == "wait-class") {
        HWND hWnd = WaitWindow(argv[3], nullptr);
        RECT rc{};
        if (hWnd == nullptr || !GetWindowRect(hWnd, &rc))
            return 1;
        std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right, rc.bottom);
        return 0;
    }
    if (strCommand == "tabs")
        return PrintTabs(argv[3]);
    HWND hDlg = WaitWindow(nullptr, argv[3]);
    if (hDlg == nullptr)
        return 1;
    if (argc < 5)
        return 2;
    HWND hControl = VisibleChild(hDlg, std::atoi(argv[4]));
    if (hControl == nullptr)
        return 1;
    if (strCommand == "where") {
        RECT rc{};
        GetWindowRect(hControl, &rc);
        PrintCentre(rc);
        return 0;
    }
    if (strCommand == "set-text" && argc > 5)
        return SendMessageA(hControl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[5])) ? 0 : 1;
    return 2;
}
