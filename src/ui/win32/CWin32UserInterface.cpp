#include "platform/windows/Win32.h"

#include "dialogs/CParamsDlg.h"
#include "dialogs/IFileChooser.h"
#include "res/AboutBox.h"
#include "res/Resource.h"
#include "ui/win32/CWin32MainWindow.h"
#include "ui/win32/CWin32ParamsDialog.h"
#include "ui/win32/CWin32UserInterface.h"
#include "ui/win32/DialogTemplateBuilder.h"

#include <algorithm>
#include <cstdio>

namespace tarnwick {

namespace {
INT_PTR CALLBACK AboutProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM) {
    if (uMsg == WM_INITDIALOG)
        return TRUE;
    if (uMsg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(hDlg, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// The common file dialog. The filter's "|" separators become the nulls it expects.
class CWin32FileChooser : public IFileChooser {
public:
    explicit CWin32FileChooser(HWND hOwner) : m_hOwner(hOwner) {}
    bool ChooseFileToOpen(const std::string& strFilter, std::string& strPathName) override {
        std::string strNulls = strFilter + '\0';
        std::replace(strNulls.begin(), strNulls.end(), '|', '\0');
        std::string strFile(32768, '\0');
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = GetActiveWindow() != nullptr ? GetActiveWindow() : m_hOwner;
        ofn.lpstrFilter = strNulls.c_str();
        ofn.lpstrFile = strFile.data();
        ofn.nMaxFile = static_cast<DWORD>(strFile.size());
        ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (!GetOpenFileNameA(&ofn))
            return false;
        strPathName = strFile.c_str();
        return true;
    }

private:
    HWND m_hOwner;
};
} // namespace

bool CWin32UserInterface::AskYesNo(const std::string& strText) {
    return MessageBoxA(m_window.GetHwnd(), strText.c_str(), "Tarnwick",
                       MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) == IDYES;
}

void CWin32UserInterface::DoModalAbout() {
    const std::vector<WORD> words = CDialogTemplateBuilder::Build(AboutBoxTemplate());
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                            reinterpret_cast<LPCDLGTEMPLATEA>(words.data()), m_window.GetHwnd(),
                            &AboutProc, 0);
}

void CWin32UserInterface::DoModalSettings(IParamsHost& host) {
    CWin32FileChooser fileChooser(m_window.GetHwnd());
    CParamsDlg dlg(host, fileChooser);
    CWin32ParamsDialog window(dlg);
    window.DoModal(m_window.GetHwnd());
}

void CWin32UserInterface::RaiseSettings() {
    // The window the user last worked in among those the main window owns: the dialog, or
    // a box it has open.
    HWND hPopup = GetLastActivePopup(m_window.GetHwnd());
    if (hPopup == nullptr || hPopup == m_window.GetHwnd())
        return;
    if (IsIconic(hPopup))
        ShowWindow(hPopup, SW_RESTORE);
    SetForegroundWindow(hPopup);
}

void CWin32UserInterface::ShowToldText() {
    if (!m_strTold.empty())
        MessageBoxA(nullptr, m_strTold.c_str(), "Tarnwick",
                    MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
    m_strTold.clear();
}

void CWin32UserInterface::Post(std::function<void()> fn) {
    m_window.Post(std::move(fn));
}

void CWin32UserInterface::Notify(const std::string& strSummary, const std::string& strBody) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = m_window.GetHwnd();
    nid.uID = IDR_TRAYMENU;
    nid.uFlags = NIF_INFO;
    nid.dwInfoFlags = NIIF_INFO;
    // Texts longer than the balloon's fields are cut; the log has them whole.
    std::snprintf(nid.szInfoTitle, sizeof nid.szInfoTitle, "%s", strSummary.c_str());
    std::snprintf(nid.szInfo, sizeof nid.szInfo, "%s", strBody.c_str());
    Shell_NotifyIconA(NIM_MODIFY, &nid);
}

void CWin32UserInterface::PostQuit() {
    PostMessageA(m_window.GetHwnd(), WM_CLOSE, 0, 0);
}

} // namespace tarnwick
