#pragma once

#include "dialogs/CDlgControl.h"
#include "dialogs/IDialogItems.h"

// A push button, check box or group box.
class CButton : public CDlgControl {
public:
    int GetCheck() {
        IDialogItems* pItems = Send();
        return pItems != nullptr ? pItems->GetCheck(m_nID) : BST_UNCHECKED;
    }
    void SetCheck(int nCheck) {
        if (IDialogItems* pItems = Send())
            pItems->SetCheck(m_nID, nCheck);
    }
};
