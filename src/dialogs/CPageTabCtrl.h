#pragma once

#include "dialogs/ITabControl.h"

#include <vector>

namespace tarnwick {

class CTabPageDlg;
class IDialogCommandTarget;

// The tab host of a dialog: one tab per page, the page of the selected tab shown in the
// tab control's page area and the others hidden. Tab i and page i belong together. It
// only points at the pages; they belong to the dialog.
class CPageTabCtrl {
public:
    // Attaches the tab control window; pOwner is the dialog the pages' Enter and Escape
    // act on.
    void Attach(ITabControl& tab, IDialogCommandTarget* pOwner);
    bool IsAttached() const { return m_pTab != nullptr; }

    // Adds a tab and creates the window of each page that has none yet, sized to the page
    // area and hidden. Pages whose window exists already are skipped.
    void AddPages(const char* const* captions, CTabPageDlg* const* pages, int nCount);
    // Hides the page shown so far and shows the page at nIndex (none when nIndex is
    // outside the pages); selects its tab too when bSelectTab is set.
    void SelectPage(int nIndex, bool bSelectTab);
    // The user picked another tab: show its page. False, so the dialog sees it as well.
    bool OnSelChange();

    int GetItemCount() const;
    int GetCurSel() const;

private:
    CTabPageDlg* PageAt(int nIndex) const;
    // The page area in the tab control's coordinates, computed once.
    const SRect& GetDisplayRect();

    ITabControl* m_pTab = nullptr;
    IDialogCommandTarget* m_pOwner = nullptr;
    std::vector<CTabPageDlg*> m_pages;
    int m_nCurrent = -1;
    SRect m_rcDisplay;
};

} // namespace tarnwick
