#pragma once

#include "dialogs/CButton.h"
#include "dialogs/CComboBox.h"
#include "dialogs/CNumEdit.h"
#include "dialogs/CPageDlg.h"

namespace tarnwick {

class IFrameStatus;
class IFileChooser;

// The "WatchDogging" page: the connection to keep alive, the start-up dial, the background
// checks, their period and the fault limit, under a master switch.
class CWatchDoggingPage : public CPageDlg {
public:
    // pFrame lists the phone-book entries (none without a frame); fileChooser serves
    // the "..." button.
    CWatchDoggingPage(CPageRegistry& registry, IFrameStatus* pFrame, IFileChooser& fileChooser);

protected:
    void DoDataExchange() override;
    bool OnInitDialog() override;
    void LoadSettings() override;
    void StoreSettings() override;
    bool OnCommand(int nID, int nCode) override;

private:
    // The filter of the file choice: one filter that shows every file.
    static constexpr const char* kFileFilter = "All Files (*.*)|*.*||";

    void OnEnableClicked();
    void OnEstablishClicked();
    void OnCheckClicked();
    void OnBrowseFile();

    // Everything below the master switch follows it; then rules B and C.
    void RuleMaster();
    // The start-up note follows its check box.
    void RuleStartupNote();
    // The period and fault lines follow the three checks; the file and URL lines their own.
    void RuleChecks();
    // Checked and enabled: a greyed check box counts as off.
    static bool IsOn(CButton& button);

    IFrameStatus* m_pFrame;
    IFileChooser& m_fileChooser;

    CNumEdit m_editMaxReboots;
    CNumEdit m_editMaxFaults;
    CEdit m_editUrl;
    CNumEdit m_editCheckDelay;
    CButton m_chkCheckUrl;
    CButton m_chkCheckFile;
    CButton m_chkCheckConn;
    CEdit m_editFile;
    CComboBox m_cbConnection;
    CButton m_chkEstablish;
    CButton m_chkEnable;
};

} // namespace tarnwick
