#pragma once

#include "dialogs/CComboList.h"
#include "dialogs/IDialogItems.h"
#include "res/DialogTemplate.h"

#include <map>
#include <string>

class CTabPageDlg;

// The controls of one dialog window in memory, made from its template, with the user's
// actions (click, choose, type, leave a field) sent on to the page as the real controls
// would send them.
class CFakeDialogItems : public IDialogItems {
public:
    struct SItem {
        EDlgItemClass eClass = EDlgItemClass::Static;
        std::uint32_t dwStyle = 0;
        bool bEnabled = true;
        int nCheck = BST_UNCHECKED;
        std::string strText;
        CComboList list;
        int nCurSel = CB_ERR;
    };

    explicit CFakeDialogItems(const SDlgTemplate& dlg);

    bool HasItem(int nID) const override { return m_items.count(nID) != 0; }
    void EnableItem(int nID, bool bEnable) override;
    bool IsItemEnabled(int nID) const override;
    std::string GetItemText(int nID) const override;
    void SetItemText(int nID, const std::string& strText) override;
    int GetCheck(int nID) const override;
    void SetCheck(int nID, int nCheck) override;
    int AddString(int nID, const std::string& strText) override;
    int GetCount(int nID) const override;
    std::string GetLBText(int nID, int nIndex) const override;
    int GetCurSel(int nID) const override;
    int SetCurSel(int nID, int nIndex) override;
    int SelectString(int nID, int nStartAfter, const std::string& strPrefix) override;

    // What the user does. Each fails the test when the control is disabled or missing.
    void Click(int nID);
    void Choose(int nID, int nIndex);
    void Type(int nID, const std::string& strText);
    void LeaveField(int nID);

    CTabPageDlg* m_pPage = nullptr; // where notifications go
    int m_nEnableCalls = 0;

private:
    SItem* Find(int nID);
    const SItem* Find(int nID) const;
    SItem& Usable(int nID);
    static bool IsEditableCombo(const SItem& item);

    std::map<int, SItem> m_items;
};
