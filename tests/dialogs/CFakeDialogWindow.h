#pragma once

#include "CFakeDialogItems.h"

#include "dialogs/IDialogWindow.h"
#include "dialogs/IFileChooser.h"
#include "dialogs/ITabControl.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A tab control in memory: tabs, a selection, and one fake window per created page.
class CFakeTabControl : public ITabControl {
public:
    struct SPage {
        std::unique_ptr<CFakeDialogItems> pItems;
        bool bVisible = false;
        SRect rc;
    };

    ~CFakeTabControl() override;

    int GetItemCount() const override { return static_cast<int>(m_tabs.size()); }
    int InsertItem(int nIndex, const std::string& strCaption) override;
    int GetCurSel() const override { return m_nCurSel; }
    void SetCurSel(int nIndex) override;
    SRect GetDisplayArea() const override;
    bool CreatePage(CTabPageDlg& page) override;
    void MovePage(CTabPageDlg& page, const SRect& rc) override { m_pages[&page].rc = rc; }
    void ShowPage(CTabPageDlg& page, bool bShow) override;

    // The user clicks tab nIndex: selected, then notified through fnSelChange.
    void ClickTab(int nIndex);
    CFakeDialogItems& Items(CTabPageDlg& page) { return *m_pages.at(&page).pItems; }
    bool IsVisible(CTabPageDlg& page) const;

    std::vector<std::string> m_tabs;
    int m_nCurSel = -1;
    bool m_bCreateFails = false;
    mutable int m_nDisplayAreaCalls = 0;
    std::map<CTabPageDlg*, SPage> m_pages;
    std::function<void()> m_fnSelChange;
};

// A dialog window in memory around one fake tab control.
class CFakeDialogWindow : public IDialogWindow {
public:
    ITabControl* GetTabControl(int nID) override { return nID == 1000 ? &m_tab : nullptr; }
    void EndDialog(int nResult) override { m_results.push_back(nResult); }

    CFakeTabControl m_tab;
    std::vector<int> m_results;
};

// The file dialog answered by script.
class CFakeFileChooser : public IFileChooser {
public:
    bool ChooseFileToOpen(const std::string& strFilter, std::string& strPathName) override {
        m_filters.push_back(strFilter);
        if (m_strAnswer.empty())
            return false;
        strPathName = m_strAnswer;
        return true;
    }
    std::string m_strAnswer; // empty: the user cancels
    std::vector<std::string> m_filters;
};
