#include "dialogs/CDlgControl.h"

#include "dialogs/IDialogItems.h"

namespace tarnwick {

void CDlgControl::Attach(IDialogItems& items, int nID) {
    m_pItems = &items;
    m_nID = nID;
}

void CDlgControl::Detach() {
    m_pItems = nullptr;
}

IDialogItems* CDlgControl::Send() {
    if (m_pItems != nullptr)
        DefWndProc();
    return m_pItems;
}

std::string CDlgControl::GetItemText() {
    IDialogItems* pItems = Send();
    return pItems != nullptr ? pItems->GetItemText(m_nID) : std::string();
}

void CDlgControl::SetItemText(const std::string& strText) {
    if (IDialogItems* pItems = Send())
        pItems->SetItemText(m_nID, strText);
}

void CDlgControl::EnableWindow(bool bEnable) {
    if (IDialogItems* pItems = Send())
        pItems->EnableItem(m_nID, bEnable);
}

bool CDlgControl::IsWindowEnabled() {
    IDialogItems* pItems = Send();
    return pItems != nullptr && pItems->IsItemEnabled(m_nID);
}

bool CDlgControl::OnReflect(int) {
    return false;
}

bool CDlgControl::PreTranslateKey(int) {
    return false;
}

} // namespace tarnwick
