#pragma once

#include "platform/windows/Win32.h"

#include "dialogs/IDialogWindow.h"
#include "dialogs/ITabControl.h"
#include "ui/win32/CWin32DialogItems.h"

#include <map>
#include <memory>

namespace tarnwick {

class CParamsDlg;

// The parameters dialog as a Win32 modal dialog built from template 130, with its pages
// built from their own templates as child dialogs of the tab control.
class CWin32ParamsDialog : public IDialogWindow, public ITabControl {
public:
    explicit CWin32ParamsDialog(CParamsDlg& dlg) : m_dlg(dlg) {}
    ~CWin32ParamsDialog() override;
    CWin32ParamsDialog(const CWin32ParamsDialog&) = delete;
    CWin32ParamsDialog& operator=(const CWin32ParamsDialog&) = delete;

    INT_PTR DoModal(HWND hOwner);

    // IDialogWindow
    ITabControl* GetTabControl(int nID) override;
    void EndDialog(int nResult) override;

    // ITabControl
    int GetItemCount() const override;
    int InsertItem(int nIndex, const std::string& strCaption) override;
    int GetCurSel() const override;
    void SetCurSel(int nIndex) override;
    SRect GetDisplayArea() const override;
    bool CreatePage(CTabPageDlg& page) override;
    void MovePage(CTabPageDlg& page, const SRect& rc) override;
    void ShowPage(CTabPageDlg& page, bool bShow) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK PageProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK NumberFieldProc(HWND hEdit, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR uId, DWORD_PTR pPage);
    HWND Tab() const;
    HWND PageWindow(const CTabPageDlg& page) const;

    CParamsDlg& m_dlg;
    HWND m_hDlg = nullptr;
    bool m_bInitialised = false;
    std::map<const CTabPageDlg*, std::unique_ptr<CWin32DialogItems>> m_pages;
};

} // namespace tarnwick
