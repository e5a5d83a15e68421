#pragma once

#include "dialogs/CComboBox.h"

namespace tarnwick {

// A drop-down list of the 256 byte values as two upper-case hexadecimal digits ("00" to
// "FF"), whose selected index is the byte value. The list fills itself on the first message
// that reaches it after it is attached, and then selects the value set before.
class CHexCombo : public CComboBox {
public:
    // Selects nValue; a value outside 0..255 leaves no item selected. Before the fill the
    // value is kept and selected by the fill.
    void SetValue(int nValue);
    // The selected byte value, or CB::Err when nothing is selected.
    int GetValue() { return GetCurSel(); }

    void DefWndProc() override;

private:
    int m_nValue = -1;
    bool m_bFilled = false;
};

} // namespace tarnwick
