#include "dialogs/CTabPageDlg.h"

#include "dialogs/CDlgControl.h"
#include "dialogs/IDialogCommandTarget.h"
#include "dialogs/IDialogItems.h"
#include "res/ParamsDialogs.h"
#include "res/Resource.h"

namespace tarnwick {

bool CTabPageDlg::Create(IDialogItems& items) {
    if (m_pItems != nullptr)
        return false;
    m_pItems = &items;
    m_controls.clear();
    DoDataExchange();
    for (CDlgControl* pControl : m_controls)
        pControl->DefWndProc();
    return OnInitDialog();
}

void CTabPageDlg::DestroyWindow() {
    for (CDlgControl* pControl : m_controls)
        pControl->Detach();
    m_controls.clear();
    m_pItems = nullptr;
}

void CTabPageDlg::DDX_Control(int nID, CDlgControl& control) {
    if (m_pItems == nullptr)
        return;
    control.Attach(*m_pItems, nID);
    m_controls.push_back(&control);
}

bool CTabPageDlg::OnInitDialog() {
    const SDlgTemplate* pTemplate = FindDialogTemplate(m_nTemplateID);
    if (pTemplate == nullptr || m_pItems == nullptr)
        return true;
    for (const SDlgInitData& init : pTemplate->initData)
        for (const char* pszText : init.strings)
            m_pItems->AddString(init.nID, pszText);
    return true;
}

void CTabPageDlg::OnNotify(int nID, int nCode) {
    for (CDlgControl* pControl : m_controls)
        if (pControl->GetDlgCtrlID() == nID && pControl->OnReflect(nCode))
            return;
    OnCommand(nID, nCode);
}

bool CTabPageDlg::PreTranslateKey(int nID, int nKey) {
    for (CDlgControl* pControl : m_controls)
        if (pControl->GetDlgCtrlID() == nID)
            return pControl->PreTranslateKey(nKey);
    return false;
}

bool CTabPageDlg::OnCommand(int, int) {
    return false;
}

void CTabPageDlg::OnOK() {
    if (m_pParentOwner != nullptr)
        m_pParentOwner->OnDialogCommand(static_cast<int>(ID::Ok));
}

void CTabPageDlg::OnCancel() {
    if (m_pParentOwner != nullptr)
        m_pParentOwner->OnDialogCommand(static_cast<int>(ID::Cancel));
}

} // namespace tarnwick
