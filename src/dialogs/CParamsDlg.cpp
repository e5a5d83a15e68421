#include "dialogs/CParamsDlg.h"

#include "dialogs/IDialogWindow.h"
#include "engine/IParamsHost.h"
#include "res/DialogIds.h"
#include "res/ParamsDialogs.h"
#include "res/Resource.h"

namespace tarnwick {

CParamsDlg::CParamsDlg(IParamsHost& host, IFileChooser& fileChooser)
    : m_host(host), m_settings(host.GetSettings()), m_pageGeneral(m_registry),
      m_pageWatchDogging(m_registry, host.GetFrameStatus(), fileChooser),
      m_pageLptResetter(m_registry, host.GetFrameStatus()) {}

bool CParamsDlg::OnInitDialog(IDialogWindow& window) {
    m_pWindow = &window;
    ITabControl* pTab = window.GetTabControl(IDC_PARAMS_TAB);
    if (pTab == nullptr)
        return false;
    m_tab.Attach(*pTab, this);
    CTabPageDlg* const pages[] = {&m_pageGeneral, &m_pageWatchDogging, &m_pageLptResetter};
    m_tab.AddPages(g_ParamsTabCaptions.data(), pages, static_cast<int>(std::size(pages)));
    // A remembered tab that does not exist, too high or negative, opens the first page
    // rather than an empty page area.
    const int nCount = m_tab.GetItemCount();
    const int nTab = m_settings.CurrentTab;
    m_tab.SelectPage(nTab >= 0 && nTab < nCount ? nTab : 0, true);
    m_registry.BindAllPages(&m_settings);
    return true;
}

void CParamsDlg::OnOK() {
    m_registry.StoreAllPages();
    m_host.GetSettings() = m_settings;
    m_host.ApplySettings();
    if (m_pWindow != nullptr)
        m_pWindow->EndDialog(static_cast<int>(ID::Ok));
}

void CParamsDlg::OnCancel() {
    if (m_pWindow != nullptr)
        m_pWindow->EndDialog(static_cast<int>(ID::Cancel));
}

void CParamsDlg::OnDestroy() {
    if (m_tab.IsAttached())
        m_host.GetSettings().CurrentTab = m_tab.GetCurSel();
}

void CParamsDlg::OnDialogCommand(int nID) {
    if (nID == static_cast<int>(ID::Ok))
        OnOK();
    else if (nID == static_cast<int>(ID::Cancel))
        OnCancel();
}

void CParamsDlg::OnNotify(int nID, int nCode) {
    if (nID == IDC_PARAMS_TAB && nCode == TCN_SELCHANGE)
        m_tab.OnSelChange();
}

} // namespace tarnwick
