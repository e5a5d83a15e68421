#include "dialogs/CNumEdit.h"

#include "dialogs/IDialogItems.h"

#include <cctype>
#include <cstdint>
#include <limits>

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
    SetWindowText(std::to_string(Clamp(nValue)));
}

int CNumEdit::GetValue() {
    return ParseInt(GetWindowText());
}

int CNumEdit::GetClampedValue() {
    return Clamp(GetValue());
}

void CNumEdit::OnKillFocus() {
    SetValue(GetValue());
}

bool CNumEdit::OnReflect(int nCode) {
    if (nCode != EN_KILLFOCUS)
        return false;
    OnKillFocus();
    return true;
}

bool CNumEdit::PreTranslateKey(int nKey) {
    return nKey == VK_DELETE;
}

int CNumEdit::ParseInt(const std::string& strText) {
    std::size_t i = 0;
    while (i < strText.size() && std::isspace(static_cast<unsigned char>(strText[i])))
        ++i;
    bool bNegative = false;
    if (i < strText.size() && (strText[i] == '+' || strText[i] == '-')) {
        bNegative = strText[i] == '-';
        ++i;
    }
    // Accumulate the magnitude up to just past the 32-bit range and stop growing there.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    std::int64_t nValue = 0;
    for (; i < strText.size() && std::isdigit(static_cast<unsigned char>(strText[i])); ++i) {
        nValue = nValue * 10 + (strText[i] - '0');
        if (nValue > kLimit)
            nValue = kLimit;
    }
    if (bNegative)
        nValue = -nValue;
    if (nValue > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(nValue);
}
