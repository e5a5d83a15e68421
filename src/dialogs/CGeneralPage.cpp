#include "dialogs/CGeneralPage.h"

#include "dialogs/EnableDlgItems.h"
#include "dialogs/IDialogItems.h"
#include "engine/AppSettings.h"
#include "res/DialogIds.h"
#include "res/Resource.h"

#include <cstdio>

namespace tarnwick {

namespace {
// Selects the first entry that begins with the text, searching from the second entry on
// and wrapping round to the first.
constexpr int kSearchAfterFirst = 0;
constexpr const char* kDefaultShutdownTime = "21:00";
} // namespace

CGeneralPage::CGeneralPage(CPageRegistry& registry) : CPageDlg(registry, IDD_GENERAL) {}

void CGeneralPage::DoDataExchange() {
    DDX_Control(IDC_GEN_METHOD, m_cbAutorunMethod);
    DDX_Control(IDC_GEN_TIME, m_cbShutdownTime);
    DDX_Control(IDC_GEN_AUTORUN, m_chkAutorun);
    DDX_Control(IDC_GEN_AUTO_SHUTDOWN, m_chkAutoShutdown);
}

bool CGeneralPage::OnInitDialog() {
    CPageDlg::OnInitDialog();
    for (int nHour = 0; nHour < 24; ++nHour) {
        for (int nMinute : {0, 15, 30, 45}) {
            char szTime[16];
            std::snprintf(szTime, sizeof szTime, "%02d:%02d", nHour, nMinute);
            m_cbShutdownTime.AddString(szTime);
        }
    }
    m_cbShutdownTime.SelectString(kSearchAfterFirst, kDefaultShutdownTime);
    m_cbAutorunMethod.SetCurSel(0);
    return true;
}

void CGeneralPage::LoadSettings() {
    const AppSettings& s = *m_pSettings;
    m_chkAutorun.SetCheck(s.bAutoRun != 0 ? BST::Checked : BST::Unchecked);
    m_chkAutoShutdown.SetCheck(s.bAutoShutdown != 0 ? BST::Checked : BST::Unchecked);
    // A time that no entry begins with leaves the default selection.
    m_cbShutdownTime.SelectString(kSearchAfterFirst, s.sShutdownTime);
    m_cbAutorunMethod.SetCurSel(s.iAutoRunMethod);
    OnAutorunClicked();
    OnAutoShutdownClicked();
}

void CGeneralPage::StoreSettings() {
    AppSettings& s = *m_pSettings;
    s.bAutoRun = m_chkAutorun.GetCheck() == BST::Checked ? 1 : 0;
    s.bAutoShutdown = m_chkAutoShutdown.GetCheck() == BST::Checked ? 1 : 0;
    s.sShutdownTime = m_cbShutdownTime.GetItemText();
    s.iAutoRunMethod = m_cbAutorunMethod.GetCurSel();
}

bool CGeneralPage::OnCommand(int nID, int nCode) {
    if (nCode != BN::Clicked)
        return false;
    switch (nID) {
    case IDC_GEN_AUTORUN:
        OnAutorunClicked();
        return true;
    case IDC_GEN_AUTO_SHUTDOWN:
        OnAutoShutdownClicked();
        return true;
    default:
        return false;
    }
}

void CGeneralPage::OnAutorunClicked() {
    static constexpr int kIds[] = {IDC_GEN_ST_METHOD, IDC_GEN_METHOD};
    EnableDlgItems(GetItems(), kIds, m_chkAutorun.GetCheck() == BST::Checked);
}

void CGeneralPage::OnAutoShutdownClicked() {
    static constexpr int kIds[] = {IDC_GEN_ST_TIME, IDC_GEN_ST_BIOS_NOTE, IDC_GEN_TIME};
    EnableDlgItems(GetItems(), kIds, m_chkAutoShutdown.GetCheck() == BST::Checked);
}

} // namespace tarnwick
