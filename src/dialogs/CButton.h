#pragma once

#include "dialogs/CDlgControl.h"
#include "dialogs/IDialogItems.h"

namespace tarnwick {

// A push button, check box or group box.
class CButton : public CDlgControl {
public:
    int GetCheck() {
        IDialogItems* pItems = Send();
        return pItems != nullptr ? pItems->GetCheck(m_nID) : BST::Unchecked;
    }
    void SetCheck(int nCheck) {
        if (IDialogItems* pItems = Send())
            pItems->SetCheck(m_nID, nCheck);
    }
};

} // namespace tarnwick
