#include "platform/windows/Win32.h"

#include "ui/win32/CWin32DialogItems.h"

namespace tarnwick {

LRESULT CWin32DialogItems::Send(int nID, UINT uMsg, WPARAM wParam, LPARAM lParam) const {
    return SendDlgItemMessageA(m_hDlg, nID, uMsg, wParam, lParam);
}

bool CWin32DialogItems::HasItem(int nID) const {
    return GetDlgItem(m_hDlg, nID) != nullptr;
}

void CWin32DialogItems::EnableItem(int nID, bool bEnable) {
    if (HWND hItem = GetDlgItem(m_hDlg, nID))
        EnableWindow(hItem, bEnable ? TRUE : FALSE);
}

bool CWin32DialogItems::IsItemEnabled(int nID) const {
    HWND hItem = GetDlgItem(m_hDlg, nID);
    return hItem != nullptr && (GetWindowLongA(hItem, GWL_STYLE) & WS_DISABLED) == 0;
}

std::string CWin32DialogItems::GetItemText(int nID) const {
    HWND hItem = GetDlgItem(m_hDlg, nID);
    if (hItem == nullptr)
        return {};
    std::string strText(static_cast<std::size_t>(GetWindowTextLengthA(hItem)) + 1, '\0');
    const int nLen = GetWindowTextA(hItem, strText.data(), static_cast<int>(strText.size()));
    strText.resize(static_cast<std::size_t>(nLen > 0 ? nLen : 0));
    return strText;
}

void CWin32DialogItems::SetItemText(int nID, const std::string& strText) {
    SetDlgItemTextA(m_hDlg, nID, strText.c_str());
}

int CWin32DialogItems::GetCheck(int nID) const {
    return IsDlgButtonChecked(m_hDlg, nID) == BST_CHECKED ? 1 : 0;
}

void CWin32DialogItems::SetCheck(int nID, int nCheck) {
    CheckDlgButton(m_hDlg, nID, nCheck != 0 ? BST_CHECKED : BST_UNCHECKED);
}

int CWin32DialogItems::AddString(int nID, const std::string& strText) {
    if (!HasItem(nID))
        return -1;
    return static_cast<int>(Send(nID, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strText.c_str())));
}

int CWin32DialogItems::GetCount(int nID) const {
    return HasItem(nID) ? static_cast<int>(Send(nID, CB_GETCOUNT)) : 0;
}

std::string CWin32DialogItems::GetLBText(int nID, int nIndex) const {
    const LRESULT nLen =
        HasItem(nID) ? Send(nID, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex)) : -1;
    if (nLen < 0)
        return {};
    std::string strText(static_cast<std::size_t>(nLen) + 1, '\0');
    Send(nID, CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(strText.data()));
    strText.resize(static_cast<std::size_t>(nLen));
    return strText;
}

int CWin32DialogItems::GetCurSel(int nID) const {
    return HasItem(nID) ? static_cast<int>(Send(nID, CB_GETCURSEL)) : -1;
}

int CWin32DialogItems::SetCurSel(int nID, int nIndex) {
    return HasItem(nID) ? static_cast<int>(Send(nID, CB_SETCURSEL, static_cast<WPARAM>(nIndex)))
                        : -1;
}

int CWin32DialogItems::SelectString(int nID, int nStartAfter, const std::string& strPrefix) {
    if (!HasItem(nID) || strPrefix.empty())
        return -1;
    // The combo box's own search: a prefix without regard to case, after nStartAfter,
    // wrapping round.
    return static_cast<int>(Send(nID, CB_SELECTSTRING, static_cast<WPARAM>(nStartAfter),
                                 reinterpret_cast<LPARAM>(strPrefix.c_str())));
}

} // namespace tarnwick
