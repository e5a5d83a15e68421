#include "dialogs/CHexCombo.h"

#include "dialogs/IDialogItems.h"

#include <cstdio>

namespace tarnwick {

void CHexCombo::SetValue(int nValue) {
    m_nValue = nValue;
    SetCurSel(nValue);
}

void CHexCombo::DefWndProc() {
    if (m_bFilled)
        return;
    m_bFilled = true;
    // Two upper-case digits sort in numeric order, so index i keeps the text of value i.
    for (int i = 0; i < 256; ++i) {
        char szText[3];
        std::snprintf(szText, sizeof szText, "%02X", static_cast<unsigned>(i));
        AddString(szText);
    }
    SetValue(m_nValue);
}

} // namespace tarnwick
