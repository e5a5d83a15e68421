#include "dialogs/CComboList.h"

#include "platform/TextUtil.h"

#include <algorithm>

namespace tarnwick {

int CComboList::AddString(const std::string& strText) {
    std::string strKey = MbLower(strText);
    auto it = m_keys.end();
    if (m_bSorted)
        it = std::upper_bound(m_keys.begin(), m_keys.end(), strKey);
    const auto nIndex = it - m_keys.begin();
    m_keys.insert(it, std::move(strKey));
    m_items.insert(m_items.begin() + nIndex, strText);
    return static_cast<int>(nIndex);
}

std::string CComboList::GetText(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount())
        return std::string();
    return m_items[static_cast<std::size_t>(nIndex)];
}

int CComboList::FindStringPrefix(int nStartAfter, const std::string& strPrefix) const {
    const int nCount = GetCount();
    if (strPrefix.empty() || nCount == 0)
        return -1;
    if (nStartAfter < 0 || nStartAfter >= nCount)
        nStartAfter = nCount - 1;
    const std::string strKey = MbLower(strPrefix);
    for (int n = 1; n <= nCount; ++n) {
        const int nIndex = (nStartAfter + n) % nCount;
        if (m_keys[static_cast<std::size_t>(nIndex)].starts_with(strKey))
            return nIndex;
    }
    return -1;
}

} // namespace tarnwick
