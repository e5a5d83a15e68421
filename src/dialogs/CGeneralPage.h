#pragma once

#include "dialogs/CButton.h"
#include "dialogs/CComboBox.h"
#include "dialogs/CPageDlg.h"

namespace tarnwick {

// The "General" page: autorun and its method, and the daily automatic shutdown with its
// time of day, chosen from the quarter hours.
class CGeneralPage : public CPageDlg {
public:
    explicit CGeneralPage(CPageRegistry& registry);

protected:
    void DoDataExchange() override;
    bool OnInitDialog() override;
    void LoadSettings() override;
    void StoreSettings() override;
    bool OnCommand(int nID, int nCode) override;

private:
    // The method list follows the autorun check box.
    void OnAutorunClicked();
    // The time, its label and the note follow the shutdown check box.
    void OnAutoShutdownClicked();

    CComboBox m_cbAutorunMethod;
    CComboBox m_cbShutdownTime;
    CButton m_chkAutorun;
    CButton m_chkAutoShutdown;
};

} // namespace tarnwick
