#pragma once

#include "dialogs/CDlgControl.h"

#include <string>

namespace tarnwick {

// An edit field that holds one integer. With a range, a value shown through SetValue and
// the text left behind when the field loses the focus are clamped to it. Any text can be
// typed; it is read as the C library's atoi reads it.
class CNumEdit : public CDlgControl {
public:
    // The bounds are not compared with each other and the text shown is not changed.
    void SetRange(int nMin, int nMax);
    // Shows nValue, clamped to the range when one is set, as plain decimal.
    void SetValue(int nValue);
    // The number at the start of the text as typed, not clamped.
    int GetValue();
    // GetValue clamped to the range: what the field shows once it has lost the focus.
    int GetClampedValue();

    bool OnReflect(int nCode) override;
    // The Delete key always edits the text, whatever an ancestor would make of it.
    bool PreTranslateKey(int nKey) override;

private:
    int Clamp(int nValue) const;
    // The text becomes the clamped, re-formatted number.
    void OnKillFocus();

    bool m_bRange = false;
    int m_nMin = 0;
    int m_nMax = 0;
};

} // namespace tarnwick
