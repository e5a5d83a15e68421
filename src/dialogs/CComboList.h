#pragma once

#include <string>
#include <vector>

namespace tarnwick {

// The item list of a combo box. A sorted list keeps its items in order without regard to
// case, inserting each new one after the items that compare equal to it, so items added in
// an order that is already sorted keep the index they were added at.
class CComboList {
public:
    explicit CComboList(bool bSorted = false) : m_bSorted(bSorted) {}

    // Adds the item at its place and returns its index.
    int AddString(const std::string& strText);
    int GetCount() const { return static_cast<int>(m_items.size()); }
    // The text at nIndex; empty for an index outside the list.
    std::string GetText(int nIndex) const;
    // The first item that begins with strPrefix without regard to case, searching from the
    // item after nStartAfter to the end and then from the start up to nStartAfter (the whole
    // list when nStartAfter is outside it); -1 when none does or strPrefix is empty.
    int FindStringPrefix(int nStartAfter, const std::string& strPrefix) const;

private:
    bool m_bSorted;
    std::vector<std::string> m_items;
    std::vector<std::string> m_keys; // the items lower-cased, compared in their stead
};

} // namespace tarnwick
