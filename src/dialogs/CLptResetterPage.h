#pragma once

#include "dialogs/CButton.h"
#include "dialogs/CComboBox.h"
#include "dialogs/CHexCombo.h"
#include "dialogs/CNumEdit.h"
#include "dialogs/CPageDlg.h"

namespace tarnwick {

class IFrameStatus;

// The "LPT Resetter" page: the parallel port of the modem's power relay, the register bits
// that drive it, the power-off and start-up wait times, and the hang-up, re-dial and
// power-on-at-start options. Without the port-I/O module it says so and can't be used.
class CLptResetterPage : public CPageDlg {
public:
    // pFrame tells whether the port-I/O module is loaded (not without a frame).
    CLptResetterPage(CPageRegistry& registry, IFrameStatus* pFrame);

protected:
    void DoDataExchange() override;
    bool OnInitDialog() override;
    void LoadSettings() override;
    void StoreSettings() override;
    bool OnCommand(int nID, int nCode) override;

private:
    void OnPortChange();
    void OnReestablishClicked();

    // Every resetter control follows whether a port is chosen; then the re-establish rule.
    void RulePort();
    // The wait line follows the re-establish check box while that is enabled.
    void RuleReestablish();

    IFrameStatus* m_pFrame;

    CButton m_chkPowerOnAtStart;
    CStatic m_stLibStatus;
    CButton m_chkReestablish;
    CButton m_chkHangUp;
    CNumEdit m_editOffTime;
    CNumEdit m_editWaitTime;
    CHexCombo m_cbCtrlMask;
    CHexCombo m_cbDataMask;
    CComboBox m_cbPort;
};

} // namespace tarnwick
