#pragma once

#include <string>
#include <vector>

namespace tarnwick {

// A pop-up menu as data: the tray menu is built from a table, edited before it is shown and
// rendered by a frontend. Positions count from 0.
class CMenu {
public:
    enum class EKind { Command, Separator, Popup };

    struct Item {
        EKind eKind = EKind::Command;
        std::string strText;
        unsigned nID = 0;
        bool bEnabled = true;
        std::vector<CMenu> popup; // exactly one element for a Popup item
    };

    void AppendCommand(unsigned nID, const std::string& strText, bool bEnabled = true);
    void AppendSeparator();
    void AppendPopup(const std::string& strText, CMenu subMenu);

    int GetMenuItemCount() const { return static_cast<int>(m_items.size()); }
    // The command id at nPos; 0 for a separator, 0xFFFFFFFF for a pop-up or a bad position.
    unsigned GetMenuItemID(int nPos) const;
    // The sub-menu at nPos, or nullptr.
    CMenu* GetSubMenu(int nPos);
    const CMenu* GetSubMenu(int nPos) const;
    // The text of the item at nPos; empty for a bad position.
    std::string GetMenuText(int nPos) const;
    // Replaces id and text of the command at nPos.
    bool ModifyMenuItem(int nPos, unsigned nID, const std::string& strText);
    bool EnableMenuItem(int nPos, bool bEnable);
    bool DeleteMenu(int nPos);

    // The default item, by position or by command id; -1 for none. It is the item shown in
    // bold and run by a double click on the tray icon.
    bool SetDefaultItem(unsigned nItem, bool bByPos);
    int GetDefaultItem() const { return m_nDefaultPos; }

    const std::vector<Item>& Items() const { return m_items; }
    const Item* ItemAt(int nPos) const;

private:
    std::vector<Item> m_items;
    int m_nDefaultPos = -1;
};

} // namespace tarnwick
