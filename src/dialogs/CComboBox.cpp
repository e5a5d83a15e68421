#include "dialogs/CComboBox.h"

#include "dialogs/IDialogItems.h"

namespace tarnwick {

int CComboBox::AddString(const std::string& strText) {
    IDialogItems* pItems = Send();
    return pItems != nullptr ? pItems->AddString(m_nID, strText) : CB::Err;
}

int CComboBox::GetCount() {
    IDialogItems* pItems = Send();
    return pItems != nullptr ? pItems->GetCount(m_nID) : 0;
}

std::string CComboBox::GetLBText(int nIndex) {
    IDialogItems* pItems = Send();
    return pItems != nullptr ? pItems->GetLBText(m_nID, nIndex) : std::string();
}

int CComboBox::GetCurSel() {
    IDialogItems* pItems = Send();
    return pItems != nullptr ? pItems->GetCurSel(m_nID) : CB::Err;
}

int CComboBox::SetCurSel(int nIndex) {
    IDialogItems* pItems = Send();
    return pItems != nullptr ? pItems->SetCurSel(m_nID, nIndex) : CB::Err;
}

int CComboBox::SelectString(int nStartAfter, const std::string& strPrefix) {
    IDialogItems* pItems = Send();
    return pItems != nullptr ? pItems->SelectString(m_nID, nStartAfter, strPrefix) : CB::Err;
}

} // namespace tarnwick
