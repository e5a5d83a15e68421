#include "dialogs/CComboList.h"

#include "platform/TextUtil.h"

#include <algorithm>

namespace tarnwick {

int CComboList::AddString(const std::string& strText) {
    auto it = m_items.end();
    if (m_bSorted) {
        const std::string strKey = MbLower(strText);
        it = std::upper_bound(m_items.begin(), m_items.end(), strKey,
                              [](const std::string& strNew, const std::string& strItem) {
                                  return strNew < MbLower(strItem);
                              });
    }
    it = m_items.insert(it, strText);
    return static_cast<int>(it - m_items.begin());
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
        if (MbLower(m_items[static_cast<std::size_t>(nIndex)]).starts_with(strKey))
            return nIndex;
    }
    return -1;
}

} // namespace tarnwick
