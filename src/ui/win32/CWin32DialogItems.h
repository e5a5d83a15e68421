#pragma once

#include "platform/windows/Win32.h"

#include "dialogs/IDialogItems.h"

namespace tarnwick {

// The controls of one dialog window, by control id, over the Win32 dialog functions.
class CWin32DialogItems : public IDialogItems {
public:
    explicit CWin32DialogItems(HWND hDlg) : m_hDlg(hDlg) {}
    HWND GetHwnd() const { return m_hDlg; }

    bool HasItem(int nID) const override;
    void EnableItem(int nID, bool bEnable) override;
    bool IsItemEnabled(int nID) const override;
    std::string GetItemText(int nID) const override;
    void SetItemText(int nID, const std::string& strText) override;
    int GetCheck(int nID) const override;
    void SetCheck(int nID, int nCheck) override;
    int AddString(int nID, const std::string& strText) override;
    int GetCount(int nID) const override;
    std::string GetLBText(int nID, int nIndex) const override;
    int GetCurSel(int nID) const override;
    int SetCurSel(int nID, int nIndex) override;
    int SelectString(int nID, int nStartAfter, const std::string& strPrefix) override;

private:
    LRESULT Send(int nID, UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    HWND m_hDlg;
};

} // namespace tarnwick
