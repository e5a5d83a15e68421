#include "dialogs/CNumEdit.h"

#include "platform/TextUtil.h"

#include "dialogs/IDialogItems.h"

#include <cctype>
#include <cstdint>
#include <limits>

namespace tarnwick {

void CNumEdit::SetRange(int nMin, int nMax) {
    m_nMin = nMin;
    m_nMax = nMax;
    m_bRange = true;
}

int CNumEdit::Clamp(int nValue) const {
    if (!m_bRange)
        return nValue;
    if (nValue < m_nMin)
        return m_nMin;
    if (nValue > m_nMax)
        return m_nMax;
    return nValue;
}

void CNumEdit::SetValue(int nValue) {
    SetItemText(std::to_string(Clamp(nValue)));
}

int CNumEdit::GetValue() {
    return AtoI(GetItemText());
}

int CNumEdit::GetClampedValue() {
    return Clamp(GetValue());
}

void CNumEdit::OnKillFocus() {
    SetValue(GetValue());
}

bool CNumEdit::OnReflect(int nCode) {
    if (nCode != EN::KillFocus)
        return false;
    OnKillFocus();
    return true;
}

bool CNumEdit::PreTranslateKey(int nKey) {
    return nKey == VK::Delete;
}

} // namespace tarnwick
