#include "CFakeDialogItems.h"

#include "dialogs/CTabPageDlg.h"

#include <gtest/gtest.h>

CFakeDialogItems::CFakeDialogItems(const SDlgTemplate& dlg) {
    for (const SDlgItemTemplate& t : dlg.items) {
        SItem item;
        item.eClass = t.eClass;
        item.dwStyle = t.dwStyle;
        item.strText = t.pszText;
        item.list = CComboList((t.dwStyle & CBS_SORT) != 0 && t.eClass == EDlgItemClass::ComboBox);
        m_items.emplace(t.nID, std::move(item));
    }
}

CFakeDialogItems::SItem* CFakeDialogItems::Find(int nID) {
    const auto it = m_items.find(nID);
    return it == m_items.end() ? nullptr : &it->second;
}

const CFakeDialogItems::SItem* CFakeDialogItems::Find(int nID) const {
    const auto it = m_items.find(nID);
    return it == m_items.end() ? nullptr : &it->second;
}

bool CFakeDialogItems::IsEditableCombo(const SItem& item) {
    return item.eClass == EDlgItemClass::ComboBox && (item.dwStyle & CBS_TYPEMASK) == CBS_DROPDOWN;
}

void CFakeDialogItems::EnableItem(int nID, bool bEnable) {
    ++m_nEnableCalls;
    if (SItem* p = Find(nID))
        p->bEnabled = bEnable;
}

bool CFakeDialogItems::IsItemEnabled(int nID) const {
    const SItem* p = Find(nID);
    return p != nullptr && p->bEnabled;
}

std::string CFakeDialogItems::GetItemText(int nID) const {
    const SItem* p = Find(nID);
    if (p == nullptr)
        return std::string();
    if (p->eClass == EDlgItemClass::ComboBox && !IsEditableCombo(*p))
        return p->list.GetText(p->nCurSel);
    return p->strText;
}

void CFakeDialogItems::SetItemText(int nID, const std::string& strText) {
    SItem* p = Find(nID);
    if (p == nullptr || (p->eClass == EDlgItemClass::ComboBox && !IsEditableCombo(*p)))
        return;
    p->strText = strText;
}

int CFakeDialogItems::GetCheck(int nID) const {
    const SItem* p = Find(nID);
    return p != nullptr ? p->nCheck : BST_UNCHECKED;
}

void CFakeDialogItems::SetCheck(int nID, int nCheck) {
    if (SItem* p = Find(nID))
        p->nCheck = nCheck;
}

int CFakeDialogItems::AddString(int nID, const std::string& strText) {
    SItem* p = Find(nID);
    if (p == nullptr || p->eClass != EDlgItemClass::ComboBox)
        return CB_ERR;
    const int nIndex = p->list.AddString(strText);
    if (p->nCurSel >= nIndex)
        ++p->nCurSel;
    return nIndex;
}

int CFakeDialogItems::GetCount(int nID) const {
    const SItem* p = Find(nID);
    return p != nullptr ? p->list.GetCount() : 0;
}

std::string CFakeDialogItems::GetLBText(int nID, int nIndex) const {
    const SItem* p = Find(nID);
    return p != nullptr ? p->list.GetText(nIndex) : std::string();
}

int CFakeDialogItems::GetCurSel(int nID) const {
    const SItem* p = Find(nID);
    return p != nullptr ? p->nCurSel : CB_ERR;
}

int CFakeDialogItems::SetCurSel(int nID, int nIndex) {
    SItem* p = Find(nID);
    if (p == nullptr || p->eClass != EDlgItemClass::ComboBox)
        return CB_ERR;
    p->nCurSel = nIndex >= 0 && nIndex < p->list.GetCount() ? nIndex : CB_ERR;
    if (IsEditableCombo(*p))
        p->strText = p->list.GetText(p->nCurSel);
    return p->nCurSel;
}

int CFakeDialogItems::SelectString(int nID, int nStartAfter, const std::string& strPrefix) {
    SItem* p = Find(nID);
    if (p == nullptr || p->eClass != EDlgItemClass::ComboBox)
        return CB_ERR;
    const int nIndex = p->list.FindStringPrefix(nStartAfter, strPrefix);
    return nIndex == CB_ERR ? CB_ERR : SetCurSel(nID, nIndex);
}

CFakeDialogItems::SItem& CFakeDialogItems::Usable(int nID) {
    static SItem dummy;
    SItem* p = Find(nID);
    if (p == nullptr) {
        ADD_FAILURE() << "no control " << nID;
        return dummy;
    }
    EXPECT_TRUE(p->bEnabled) << "control " << nID << " is disabled";
    return *p;
}

void CFakeDialogItems::Click(int nID) {
    SItem& item = Usable(nID);
    if ((item.dwStyle & BS_TYPEMASK) == BS_AUTOCHECKBOX && item.eClass == EDlgItemClass::Button)
        item.nCheck = item.nCheck == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    if (m_pPage != nullptr)
        m_pPage->OnNotify(nID, BN_CLICKED);
}

void CFakeDialogItems::Choose(int nID, int nIndex) {
    Usable(nID);
    SetCurSel(nID, nIndex);
    if (m_pPage != nullptr)
        m_pPage->OnNotify(nID, CBN_SELCHANGE);
}

void CFakeDialogItems::Type(int nID, const std::string& strText) {
    Usable(nID).strText = strText;
}

void CFakeDialogItems::LeaveField(int nID) {
    Usable(nID);
    if (m_pPage != nullptr)
        m_pPage->OnNotify(nID, EN_KILLFOCUS);
}
