#include "dialogs/CWatchDoggingPage.h"

#include "dialogs/EnableDlgItems.h"
#include "dialogs/IDialogItems.h"
#include "dialogs/IFileChooser.h"
#include "engine/AppSettings.h"
#include "engine/IFrameStatus.h"
#include "res/DialogIds.h"
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

CWatchDoggingPage::CWatchDoggingPage(CPageRegistry& registry, IFrameStatus* pFrame,
                                     IFileChooser& fileChooser)
    : CPageDlg(registry, IDD_WATCHDOGGING), m_pFrame(pFrame), m_fileChooser(fileChooser) {
    m_editCheckDelay.SetRange(1, 10000);
    m_editMaxFaults.SetRange(2, 100);
    m_editMaxReboots.SetRange(0, 99);
}

void CWatchDoggingPage::DoDataExchange() {
    DDX_Control(IDC_WD_MAX_REBOOTS, m_editMaxReboots);
    DDX_Control(IDC_WD_MAX_FAULTS, m_editMaxFaults);
    DDX_Control(IDC_WD_URL, m_editUrl);
    DDX_Control(IDC_WD_CHECK_DELAY, m_editCheckDelay);
    DDX_Control(IDC_WD_CHECK_URL, m_chkCheckUrl);
    DDX_Control(IDC_WD_CHECK_FILE, m_chkCheckFile);
    DDX_Control(IDC_WD_CHECK_CONN, m_chkCheckConn);
    DDX_Control(IDC_WD_FILE, m_editFile);
    DDX_Control(IDC_WD_CONNECTION, m_cbConnection);
    DDX_Control(IDC_WD_ESTABLISH, m_chkEstablish);
    DDX_Control(IDC_WD_ENABLE, m_chkEnable);
}

bool CWatchDoggingPage::OnInitDialog() {
    CPageDlg::OnInitDialog();
    if (m_pFrame != nullptr)
        for (const std::string& strEntry : m_pFrame->LoadEntryList())
            m_cbConnection.AddString(strEntry);
    return true;
}

void CWatchDoggingPage::LoadSettings() {
    const AppSettings& s = *m_pSettings;
    m_chkEnable.SetCheck(ToCheck(s.bEnableWatchDogging));
    m_cbConnection.SetItemText(s.sDefaultConnection);
    m_chkEstablish.SetCheck(ToCheck(s.bEstablishConnection));
    m_chkCheckConn.SetCheck(ToCheck(s.bCheckConnState));
    m_chkCheckFile.SetCheck(ToCheck(s.bCheckFileRefresh));
    m_chkCheckUrl.SetCheck(ToCheck(s.bCheckURLDownload));
    m_editFile.SetItemText(s.sFileRefresh);
    m_editUrl.SetItemText(s.sURLDownload);
    m_editCheckDelay.SetValue(s.iCheckDelay);
    m_editMaxFaults.SetValue(s.iMaxFaults);
    m_editMaxReboots.SetValue(s.iMaxRebootsPerDay);
    RuleMaster();
}

void CWatchDoggingPage::StoreSettings() {
    AppSettings& s = *m_pSettings;
    s.bEnableWatchDogging = ToFlag(m_chkEnable.GetCheck());
    s.sDefaultConnection = m_cbConnection.GetItemText();
    s.bEstablishConnection = ToFlag(m_chkEstablish.GetCheck());
    s.bCheckConnState = ToFlag(m_chkCheckConn.GetCheck());
    s.bCheckFileRefresh = ToFlag(m_chkCheckFile.GetCheck());
    s.bCheckURLDownload = ToFlag(m_chkCheckUrl.GetCheck());
    s.sFileRefresh = m_editFile.GetItemText();
    s.sURLDownload = m_editUrl.GetItemText();
    // Clamped as the field would show it once left, also when OK comes while it has the
    // focus with a number out of range still in it.
    s.iCheckDelay = m_editCheckDelay.GetClampedValue();
    s.iMaxFaults = m_editMaxFaults.GetClampedValue();
    s.iMaxRebootsPerDay = m_editMaxReboots.GetClampedValue();
}

bool CWatchDoggingPage::OnCommand(int nID, int nCode) {
    if (nCode != BN::Clicked)
        return false;
    switch (nID) {
    case IDC_WD_ENABLE:
        OnEnableClicked();
        return true;
    case IDC_WD_ESTABLISH:
        OnEstablishClicked();
        return true;
    case IDC_WD_BROWSE:
        OnBrowseFile();
        return true;
    case IDC_WD_CHECK_CONN:
    case IDC_WD_CHECK_FILE:
    case IDC_WD_CHECK_URL:
        OnCheckClicked();
        return true;
    default:
        return false;
    }
}

void CWatchDoggingPage::OnEnableClicked() {
    RuleMaster();
}

void CWatchDoggingPage::OnEstablishClicked() {
    RuleStartupNote();
}

void CWatchDoggingPage::OnCheckClicked() {
    RuleChecks();
}

void CWatchDoggingPage::OnBrowseFile() {
    std::string strPath = m_editFile.GetItemText();
    if (m_fileChooser.ChooseFileToOpen(kFileFilter, strPath))
        m_editFile.SetItemText(strPath);
}

bool CWatchDoggingPage::IsOn(CButton& button) {
    return button.GetCheck() == BST::Checked && button.IsWindowEnabled();
}

void CWatchDoggingPage::RuleMaster() {
    // The "Background behaviors" frame greys with the other two frames, so that the whole
    // page below the switch looks alike when it is off.
    static constexpr int kIds[] = {
        IDC_WD_GRP_CONNECTION, IDC_WD_ST_CONNECTION, IDC_WD_ST_STARTUP_NOTE, IDC_WD_GRP_STARTUP,
        IDC_WD_CONNECTION,     IDC_WD_ESTABLISH,     IDC_WD_CHECK_CONN,      IDC_WD_CHECK_FILE,
        IDC_WD_CHECK_URL,      IDC_WD_GRP_BACKGROUND};
    EnableDlgItems(GetItems(), kIds, m_chkEnable.GetCheck() == BST::Checked);
    RuleStartupNote();
    RuleChecks();
}

void CWatchDoggingPage::RuleStartupNote() {
    static constexpr int kIds[] = {IDC_WD_ST_STARTUP_NOTE};
    EnableDlgItems(GetItems(), kIds, IsOn(m_chkEstablish));
}

void CWatchDoggingPage::RuleChecks() {
    // The reboot budget line belongs to the escalation, as the fault limit does.
    static constexpr int kAnyCheck[] = {
        IDC_WD_ST_PERIOD,   IDC_WD_CHECK_DELAY, IDC_WD_ST_MIN,   IDC_WD_ST_REDIAL_NOTE,
        IDC_WD_ST_FAULTS,   IDC_WD_MAX_FAULTS,  IDC_WD_ST_AFTER, IDC_WD_ST_MAX_REBOOTS,
        IDC_WD_MAX_REBOOTS, IDC_WD_ST_REBOOTS};
    static constexpr int kFileCheck[] = {IDC_WD_ST_FILE, IDC_WD_FILE, IDC_WD_BROWSE};
    static constexpr int kUrlCheck[] = {IDC_WD_ST_URL, IDC_WD_URL};
    const bool bFile = IsOn(m_chkCheckFile);
    const bool bUrl = IsOn(m_chkCheckUrl);
    EnableDlgItems(GetItems(), kAnyCheck, IsOn(m_chkCheckConn) || bFile || bUrl);
    EnableDlgItems(GetItems(), kFileCheck, bFile);
    EnableDlgItems(GetItems(), kUrlCheck, bUrl);
}

} // namespace tarnwick
