#include "tray/CMenu.h"

#include <utility>

namespace tarnwick {

void CMenu::AppendCommand(unsigned nID, const std::string& strText, bool bEnabled) {
    Item item;
    item.nID = nID;
    item.strText = strText;
    item.bEnabled = bEnabled;
    m_items.push_back(std::move(item));
}

void CMenu::AppendSeparator() {
    Item item;
    item.eKind = EKind::Separator;
    m_items.push_back(std::move(item));
}

void CMenu::AppendPopup(const std::string& strText, CMenu subMenu) {
    Item item;
    item.eKind = EKind::Popup;
    item.strText = strText;
    item.popup.push_back(std::move(subMenu));
    m_items.push_back(std::move(item));
}

const CMenu::Item* CMenu::ItemAt(int nPos) const {
    if (nPos < 0 || nPos >= GetMenuItemCount())
        return nullptr;
    return &m_items[static_cast<std::size_t>(nPos)];
}

unsigned CMenu::GetMenuItemID(int nPos) const {
    const Item* pItem = ItemAt(nPos);
    if (pItem == nullptr || pItem->eKind == EKind::Popup)
        return 0xFFFFFFFFu;
    return pItem->eKind == EKind::Separator ? 0 : pItem->nID;
}

CMenu* CMenu::GetSubMenu(int nPos) {
    return const_cast<CMenu*>(std::as_const(*this).GetSubMenu(nPos));
}

const CMenu* CMenu::GetSubMenu(int nPos) const {
    const Item* pItem = ItemAt(nPos);
    if (pItem == nullptr || pItem->eKind != EKind::Popup)
        return nullptr;
    return &pItem->popup.front();
}

std::string CMenu::GetMenuText(int nPos) const {
    const Item* pItem = ItemAt(nPos);
    return pItem == nullptr ? std::string() : pItem->strText;
}

bool CMenu::ModifyMenuItem(int nPos, unsigned nID, const std::string& strText) {
    if (ItemAt(nPos) == nullptr)
        return false;
    Item& item = m_items[static_cast<std::size_t>(nPos)];
    item.nID = nID;
    item.strText = strText;
    return true;
}

bool CMenu::EnableMenuItem(int nPos, bool bEnable) {
    if (ItemAt(nPos) == nullptr)
        return false;
    m_items[static_cast<std::size_t>(nPos)].bEnabled = bEnable;
    return true;
}

bool CMenu::DeleteMenu(int nPos) {
    if (ItemAt(nPos) == nullptr)
        return false;
    m_items.erase(m_items.begin() + nPos);
    if (m_nDefaultPos == nPos)
        m_nDefaultPos = -1;
    else if (m_nDefaultPos > nPos)
        --m_nDefaultPos;
    return true;
}

bool CMenu::SetDefaultItem(unsigned nItem, bool bByPos) {
    if (bByPos) {
        if (ItemAt(static_cast<int>(nItem)) == nullptr)
            return false;
        m_nDefaultPos = static_cast<int>(nItem);
        return true;
    }
    for (int nPos = 0; nPos < GetMenuItemCount(); ++nPos) {
        if (m_items[static_cast<std::size_t>(nPos)].eKind == EKind::Command &&
            m_items[static_cast<std::size_t>(nPos)].nID == nItem) {
            m_nDefaultPos = nPos;
            return true;
        }
    }
    return false;
}

} // namespace tarnwick
