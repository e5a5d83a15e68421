#pragma once

#include "dialogs/CComboList.h"
#include "dialogs/CParamsDlg.h"
#include "dialogs/CTabPageDlg.h"
#include "dialogs/IDialogItems.h"
#include "dialogs/IDialogWindow.h"
#include "dialogs/IFileChooser.h"
#include "dialogs/ITabControl.h"
#include "engine/AppSettings.h"
#include "res/DialogIds.h"
#include "res/ParamsDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace tarnwick {

// A window in memory: the controls of a template, with the user's actions sent to its page
// as the real controls send them; as a dialog, one tab control whose pages are fake windows
// of their own; and the file dialog it opens, answered by m_strChosen (empty: cancelled).
class CFakeWindow : public IDialogItems,
                    public IDialogWindow,
                    public ITabControl,
                    public IFileChooser {
public:
    CFakeWindow() = default;
    CFakeWindow(const SDlgTemplate& dlg, CTabPageDlg* pPage);
    ~CFakeWindow() override;

    bool HasItem(int nID) const override { return At(nID).bExists; }
    void EnableItem(int nID, bool bEnable) override { At(nID).bEnabled = bEnable; }
    bool IsItemEnabled(int nID) const override { return At(nID).bExists && At(nID).bEnabled; }
    std::string GetItemText(int nID) const override { return At(nID).strText; }
    void SetItemText(int nID, const std::string& strText) override { At(nID).strText = strText; }
    int GetCheck(int nID) const override { return At(nID).nCheck; }
    void SetCheck(int nID, int nCheck) override { At(nID).nCheck = nCheck; }
    int AddString(int nID, const std::string& str) override { return At(nID).list.AddString(str); }
    int GetCount(int nID) const override { return At(nID).list.GetCount(); }
    std::string GetLBText(int nID, int n) const override { return At(nID).list.GetText(n); }
    int GetCurSel(int nID) const override { return At(nID).nCurSel; }
    int SetCurSel(int nID, int nIndex) override {
        SItem& item = At(nID);
        item.nCurSel = nIndex >= 0 && nIndex < item.list.GetCount() ? nIndex : CB::Err;
        item.strText = item.list.GetText(item.nCurSel);
        return item.nCurSel;
    }
    int SelectString(int nID, int nStartAfter, const std::string& strPrefix) override {
        const int nIndex = At(nID).list.FindStringPrefix(nStartAfter, strPrefix);
        return nIndex == CB::Err ? CB::Err : SetCurSel(nID, nIndex);
    }

    ITabControl* GetTabControl(int nID) override { return nID == IDC_PARAMS_TAB ? this : nullptr; }
    void EndDialog(int nResult) override { m_results.push_back(nResult); }

    int GetItemCount() const override { return static_cast<int>(m_tabs.size()); }
    int InsertItem(int nIndex, const std::string& strCaption) override {
        m_tabs.insert(m_tabs.begin() + nIndex, strCaption);
        m_nCurSel = std::max(m_nCurSel, 0); // a tab control selects its first tab by itself
        return nIndex;
    }
    int GetCurSel() const override { return m_nCurSel; }
    void SetCurSel(int nIndex) override { m_nCurSel = nIndex < GetItemCount() ? nIndex : -1; }
    SRect GetDisplayArea() const override { return SRect{4, 24, 596, 380}; }
    bool CreatePage(CTabPageDlg& page) override {
        auto& pWindow = m_pages[&page] =
            std::make_unique<CFakeWindow>(*FindDialogTemplate(page.GetTemplateID()), &page);
        return page.Create(*pWindow);
    }
    void MovePage(CTabPageDlg&, const SRect&) override {}
    void ShowPage(CTabPageDlg& page, bool bShow) override { m_shown[&page] = bShow; }

    bool ChooseFileToOpen(const std::string& strFilter, std::string& strPathName) override {
        EXPECT_EQ(strFilter, "All Files (*.*)|*.*||");
        strPathName = m_strChosen.empty() ? strPathName : m_strChosen;
        return !m_strChosen.empty();
    }

    // What the user does; each fails the test on a missing or disabled control.
    void Click(int nID) {
        if (SItem& item = Usable(nID); item.bCheckBox)
            item.nCheck = item.nCheck == BST::Checked ? BST::Unchecked : BST::Checked;
        m_pPage->OnNotify(nID, BN::Clicked);
    }
    void Choose(int nID, int nIndex) {
        Usable(nID);
        SetCurSel(nID, nIndex);
        m_pPage->OnNotify(nID, CBN::SelChange);
    }
    void Type(int nID, const std::string& strText) { Usable(nID).strText = strText; }

    std::set<int> Disabled() const { // the ids of the disabled controls
        std::set<int> ids;
        for (const auto& [nID, item] : m_items)
            if (item.bExists && !item.bEnabled)
                ids.insert(nID);
        return ids;
    }
    CFakeWindow& Page(CTabPageDlg& page) { return *m_pages.at(&page); }

    std::vector<std::string> m_tabs;
    int m_nCurSel = -1;
    std::map<CTabPageDlg*, bool> m_shown;
    std::vector<int> m_results; // of EndDialog
    std::string m_strChosen;

private:
    // A control; one that the template lacks reads as empty and disabled.
    struct SItem {
        bool bExists = false;
        bool bEnabled = false;
        bool bCheckBox = false;
        int nCheck = BST::Unchecked;
        std::string strText; // of a combo box: its selected item's
        CComboList list;
        int nCurSel = CB::Err;
    };
    SItem& At(int nID) const { return m_items[nID]; }
    SItem& Usable(int nID) {
        EXPECT_TRUE(IsItemEnabled(nID)) << "control " << nID << " is missing or disabled";
        return At(nID);
    }

    mutable std::map<int, SItem> m_items;
    CTabPageDlg* m_pPage = nullptr; // where notifications go
    std::map<CTabPageDlg*, std::unique_ptr<CFakeWindow>> m_pages;
};

// A record of defaults with the changes "name=value;..." (each name must exist), and every
// field of a record as such a text, in record order, to compare records whole.
AppSettings Record(const std::string& strChanges);
std::string SettingsText(const AppSettings& settings);

// The page of the parameters dialog on tab nTab.
inline CTabPageDlg& TabPage(CParamsDlg& dlg, int nTab) {
    CTabPageDlg* pages[] = {&dlg.GetGeneralPage(), &dlg.GetWatchDoggingPage(),
                            &dlg.GetLptResetterPage()};
    return *pages[nTab];
}

} // namespace tarnwick
