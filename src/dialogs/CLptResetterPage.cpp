#include "dialogs/CLptResetterPage.h"

#include "dialogs/EnableDlgItems.h"
#include "dialogs/IDialogItems.h"
#include "engine/AppSettings.h"
#include "engine/IFrameStatus.h"
#include "engine/PortTable.h"
#include "res/DialogIds.h"
#include "res/ParamsDialogs.h"
#include "res/Resource.h"

namespace tarnwick {

namespace {
int ToCheck(std::int32_t nFlag) {
    return nFlag != 0 ? BST::Checked : BST::Unchecked;
}
std::int32_t ToFlag(int nCheck) {
    return nCheck == BST::Checked ? 1 : 0;
}
} // namespace

CLptResetterPage::CLptResetterPage(CPageRegistry& registry, IFrameStatus* pFrame)
    : CPageDlg(registry, IDD_LPTRESETTER), m_pFrame(pFrame) {
    m_editOffTime.SetRange(1, 30);
    m_editWaitTime.SetRange(5, 90);
}

void CLptResetterPage::DoDataExchange() {
    DDX_Control(IDC_LPT_POWER_ON, m_chkPowerOnAtStart);
    DDX_Control(IDC_LPT_LIB_STATUS, m_stLibStatus);
    DDX_Control(IDC_LPT_REESTABLISH, m_chkReestablish);
    DDX_Control(IDC_LPT_HANG_UP, m_chkHangUp);
    DDX_Control(IDC_LPT_OFF_TIME, m_editOffTime);
    DDX_Control(IDC_LPT_WAIT_TIME, m_editWaitTime);
    DDX_Control(IDC_LPT_CTRL_MASK, m_cbCtrlMask);
    DDX_Control(IDC_LPT_DATA_MASK, m_cbDataMask);
    DDX_Control(IDC_LPT_PORT, m_cbPort);
}

bool CLptResetterPage::OnInitDialog() {
    CPageDlg::OnInitDialog();
    // The names sort into table order, so a list index is a table row and an iLptPort.
    for (const SPortTableEntry& port : g_PortTable)
        m_cbPort.AddString(port.pszName);
    if (m_pFrame == nullptr || !m_pFrame->IsPortLibLoaded()) {
        m_stLibStatus.SetItemText(g_pszPortLibMissing);
        static constexpr int kIds[] = {IDC_LPT_ST_PORT, IDC_LPT_PORT};
        EnableDlgItems(GetItems(), kIds, false);
    }
    return true;
}

void CLptResetterPage::LoadSettings() {
    const AppSettings& s = *m_pSettings;
    m_cbPort.SetCurSel(s.iLptPort);
    m_cbDataMask.SetValue(s.iDataPortMask);
    m_cbCtrlMask.SetValue(s.iCtrlPortMask);
    m_editOffTime.SetValue(s.iModemOffTime);
    m_editWaitTime.SetValue(s.iModemWaitTime);
    m_chkPowerOnAtStart.SetCheck(ToCheck(s.bMakeSureModemOn));
    m_chkHangUp.SetCheck(ToCheck(s.bTryToHangUp));
    m_chkReestablish.SetCheck(ToCheck(s.bTryToReestablish));
    RulePort();
}

void CLptResetterPage::StoreSettings() {
    AppSettings& s = *m_pSettings;
    s.iLptPort = m_cbPort.GetCurSel();
    // No selection (a stored port number outside the table) counts as no port at all, so
    // no register address of an earlier choice survives it.
    const bool bInTable = s.iLptPort >= 0 && s.iLptPort < static_cast<int>(g_PortTable.size());
    const SPortTableEntry& port = g_PortTable[bInTable ? static_cast<std::size_t>(s.iLptPort) : 0];
    s.iDataPort = port.nDataPort;
    s.iCtrlPort = port.nCtrlPort;
    s.iDataPortMask = m_cbDataMask.GetValue();
    s.iCtrlPortMask = m_cbCtrlMask.GetValue();
    // Clamped as the field would show it once left (OK may come while it has the focus).
    s.iModemOffTime = m_editOffTime.GetClampedValue();
    s.iModemWaitTime = m_editWaitTime.GetClampedValue();
    s.bMakeSureModemOn = ToFlag(m_chkPowerOnAtStart.GetCheck());
    s.bTryToHangUp = ToFlag(m_chkHangUp.GetCheck());
    s.bTryToReestablish = ToFlag(m_chkReestablish.GetCheck());
}

bool CLptResetterPage::OnCommand(int nID, int nCode) {
    if (nID == IDC_LPT_PORT && nCode == CBN::SelChange) {
        OnPortChange();
        return true;
    }
    if (nID == IDC_LPT_REESTABLISH && nCode == BN::Clicked) {
        OnReestablishClicked();
        return true;
    }
    return false;
}

void CLptResetterPage::OnPortChange() {
    RulePort();
}

void CLptResetterPage::OnReestablishClicked() {
    RuleReestablish();
}

void CLptResetterPage::RulePort() {
    static constexpr int kIds[] = {
        IDC_LPT_ST_DATA_MASK,   IDC_LPT_DATA_MASK,    IDC_LPT_ST_CTRL_MASK, IDC_LPT_CTRL_MASK,
        IDC_LPT_ST_OFF_TIME,    IDC_LPT_OFF_TIME,     IDC_LPT_ST_OFF_SEC,   IDC_LPT_GRP_RESET,
        IDC_LPT_GRP_BEFORE_OFF, IDC_LPT_GRP_AFTER_ON, IDC_LPT_ST_WAIT,      IDC_LPT_ST_WAIT_SEC,
        IDC_LPT_HANG_UP,        IDC_LPT_REESTABLISH,  IDC_LPT_WAIT_TIME,    IDC_LPT_POWER_ON};
    EnableDlgItems(GetItems(), kIds, m_cbPort.IsWindowEnabled() && m_cbPort.GetCurSel() > 0);
    RuleReestablish();
}

void CLptResetterPage::RuleReestablish() {
    static constexpr int kIds[] = {IDC_LPT_ST_WAIT, IDC_LPT_ST_WAIT_SEC, IDC_LPT_WAIT_TIME};
    EnableDlgItems(GetItems(), kIds,
                   m_chkReestablish.GetCheck() == BST::Checked &&
                       m_chkReestablish.IsWindowEnabled());
}

} // namespace tarnwick
