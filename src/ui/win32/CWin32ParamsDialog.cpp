#include "platform/windows/Win32.h"

#include "dialogs/CParamsDlg.h"
#include "dialogs/CTabPageDlg.h"
#include "res/DialogIds.h"
#include "res/ParamsDialogs.h"
#include "res/Resource.h"
#include "ui/win32/CWin32ParamsDialog.h"
#include "ui/win32/DialogTemplateBuilder.h"

namespace tarnwick {

namespace {
struct SPageCreate {
    CWin32ParamsDialog* pOwner;
    CTabPageDlg* pPage;
    std::map<const CTabPageDlg*, std::unique_ptr<CWin32DialogItems>>* pPages;
};
} // namespace

CWin32ParamsDialog::~CWin32ParamsDialog() = default;

INT_PTR CWin32ParamsDialog::DoModal(HWND hOwner) {
    const SDlgTemplate* pTemplate = FindDialogTemplate(IDD_PARAMS);
    if (pTemplate == nullptr)
        return -1;
    // Centred on the screen: its owner, the main window, is never shown.
    const std::vector<WORD> words = CDialogTemplateBuilder::Build(*pTemplate, DS_CENTER);
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                                   reinterpret_cast<LPCDLGTEMPLATEA>(words.data()), hOwner,
                                   &CWin32ParamsDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CWin32ParamsDialog::DialogProc(HWND hDlg, UINT uMsg, WPARAM wParam,
                                                LPARAM lParam) {
    if (uMsg == WM_INITDIALOG) {
        auto* pThis = reinterpret_cast<CWin32ParamsDialog*>(lParam);
        SetWindowLongPtrA(hDlg, DWLP_USER, lParam);
        pThis->m_hDlg = hDlg;
        pThis->m_bInitialised = pThis->m_dlg.OnInitDialog(*pThis);
        if (!pThis->m_bInitialised)
            ::EndDialog(hDlg, IDCANCEL);
        return TRUE;
    }
    auto* pThis = reinterpret_cast<CWin32ParamsDialog*>(GetWindowLongPtrA(hDlg, DWLP_USER));
    if (pThis == nullptr)
        return FALSE;
    switch (uMsg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            pThis->m_dlg.OnDialogCommand(LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY: {
        const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        if (static_cast<int>(pHeader->idFrom) == IDC_PARAMS_TAB &&
            static_cast<int>(pHeader->code) == TCN_SELCHANGE)
            pThis->m_dlg.OnNotify(IDC_PARAMS_TAB, static_cast<int>(pHeader->code));
        return TRUE;
    }
    case WM_DESTROY:
        if (pThis->m_bInitialised)
            pThis->m_dlg.OnDestroy();
        for (auto& [pPage, pItems] : pThis->m_pages)
            const_cast<CTabPageDlg*>(pPage)->DestroyWindow();
        pThis->m_pages.clear();
        pThis->m_bInitialised = false;
        return FALSE;
    default:
        return FALSE;
    }
}

ITabControl* CWin32ParamsDialog::GetTabControl(int nID) {
    return nID == IDC_PARAMS_TAB && Tab() != nullptr ? this : nullptr;
}

void CWin32ParamsDialog::EndDialog(int nResult) {
    ::EndDialog(m_hDlg, nResult);
}

HWND CWin32ParamsDialog::Tab() const {
    return GetDlgItem(m_hDlg, IDC_PARAMS_TAB);
}

int CWin32ParamsDialog::GetItemCount() const {
    return static_cast<int>(SendMessageA(Tab(), TCM_GETITEMCOUNT, 0, 0));
}

int CWin32ParamsDialog::InsertItem(int nIndex, const std::string& strCaption) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(strCaption.c_str());
    return static_cast<int>(SendMessageA(Tab(), TCM_INSERTITEMA, static_cast<WPARAM>(nIndex),
                                         reinterpret_cast<LPARAM>(&item)));
}

int CWin32ParamsDialog::GetCurSel() const {
    return static_cast<int>(SendMessageA(Tab(), TCM_GETCURSEL, 0, 0));
}

void CWin32ParamsDialog::SetCurSel(int nIndex) {
    // TCM_SETCURSEL sends no selection-changed notification.
    SendMessageA(Tab(), TCM_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
}

SRect CWin32ParamsDialog::GetDisplayArea() const {
    RECT rc{};
    GetClientRect(Tab(), &rc);
    SendMessageA(Tab(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rc));
    return SRect{rc.left, rc.top, rc.right, rc.bottom};
}

bool CWin32ParamsDialog::CreatePage(CTabPageDlg& page) {
    const SDlgTemplate* pTemplate = FindDialogTemplate(page.GetTemplateID());
    if (pTemplate == nullptr || m_pages.count(&page) != 0)
        return false;
    // A hidden child that the dialog's keyboard handling walks into (DS_CONTROL).
    SDlgTemplate childTemplate = *pTemplate;
    childTemplate.dwStyle =
        (pTemplate->dwStyle & ~(WS_POPUP | WS_VISIBLE | WS_CAPTION)) | WS_CHILD | DS_CONTROL;
    const std::vector<WORD> words = CDialogTemplateBuilder::Build(childTemplate, 0);
    SPageCreate create{this, &page, &m_pages};
    HWND hPage = CreateDialogIndirectParamA(
        GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(words.data()), Tab(),
        &CWin32ParamsDialog::PageProc, reinterpret_cast<LPARAM>(&create));
    return hPage != nullptr && page.IsWindowCreated();
}

INT_PTR CALLBACK CWin32ParamsDialog::PageProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_INITDIALOG) {
        auto* pCreate = reinterpret_cast<SPageCreate*>(lParam);
        SetWindowLongPtrA(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pCreate->pPage));
        auto pItems = std::make_unique<CWin32DialogItems>(hDlg);
        CWin32DialogItems& items = *pItems;
        (*pCreate->pPages)[pCreate->pPage] = std::move(pItems);
        // The edit fields hear the Delete key first: a number field keeps it.
        for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild != nullptr;
             hChild = GetWindow(hChild, GW_HWNDNEXT)) {
            char szClass[16] = {};
            GetClassNameA(hChild, szClass, sizeof szClass);
            if (lstrcmpiA(szClass, "Edit") == 0)
                SetWindowSubclass(hChild, &CWin32ParamsDialog::NumberFieldProc, 1,
                                  reinterpret_cast<DWORD_PTR>(pCreate->pPage));
        }
        pCreate->pPage->Create(items);
        return TRUE;
    }
    auto* pPage = reinterpret_cast<CTabPageDlg*>(GetWindowLongPtrA(hDlg, DWLP_USER));
    if (pPage == nullptr || !pPage->IsWindowCreated())
        return FALSE;
    if (uMsg == WM_COMMAND) {
        const int nID = LOWORD(wParam);
        const int nCode = HIWORD(wParam);
        if (nID == IDOK && nCode == 0) {
            pPage->OnOK();
            return TRUE;
        }
        if (nID == IDCANCEL && nCode == 0) {
            pPage->OnCancel();
            return TRUE;
        }
        pPage->OnNotify(nID, nCode);
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK CWin32ParamsDialog::NumberFieldProc(HWND hEdit, UINT uMsg, WPARAM wParam,
                                                     LPARAM lParam, UINT_PTR, DWORD_PTR pPage) {
    if (uMsg == WM_KEYDOWN && wParam == VK_DELETE) {
        auto* pTabPage = reinterpret_cast<CTabPageDlg*>(pPage);
        if (pTabPage->PreTranslateKey(GetDlgCtrlID(hEdit), VK_DELETE))
            return 0;
    }
    return DefSubclassProc(hEdit, uMsg, wParam, lParam);
}

HWND CWin32ParamsDialog::PageWindow(const CTabPageDlg& page) const {
    const auto it = m_pages.find(&page);
    return it == m_pages.end() ? nullptr : it->second->GetHwnd();
}

void CWin32ParamsDialog::MovePage(CTabPageDlg& page, const SRect& rc) {
    if (HWND hPage = PageWindow(page))
        SetWindowPos(hPage, HWND_TOP, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                     SWP_NOACTIVATE);
}

void CWin32ParamsDialog::ShowPage(CTabPageDlg& page, bool bShow) {
    if (HWND hPage = PageWindow(page))
        ShowWindow(hPage, bShow ? SW_SHOW : SW_HIDE);
}

} // namespace tarnwick
