#include "dialogs/CPageTabCtrl.h"

#include "dialogs/CTabPageDlg.h"

namespace tarnwick {

void CPageTabCtrl::Attach(ITabControl& tab, IDialogCommandTarget* pOwner) {
    m_pTab = &tab;
    m_pOwner = pOwner;
}

void CPageTabCtrl::AddPages(const char* const* captions, CTabPageDlg* const* pages, int nCount) {
    if (m_pTab == nullptr || captions == nullptr || pages == nullptr)
        return;
    for (int i = 0; i < nCount; ++i) {
        CTabPageDlg* pPage = pages[i];
        if (pPage == nullptr || pPage->IsWindowCreated())
            continue;
        m_pTab->InsertItem(m_pTab->GetItemCount(), captions[i]);
        pPage->SetParentOwner(m_pOwner);
        // A page whose window could not be created keeps its tab (tab and page stay
        // paired) and simply shows nothing.
        if (m_pTab->CreatePage(*pPage))
            m_pTab->MovePage(*pPage, GetDisplayRect());
        m_pages.push_back(pPage);
    }
}

CTabPageDlg* CPageTabCtrl::PageAt(int nIndex) const {
    if (nIndex < 0 || nIndex >= static_cast<int>(m_pages.size()))
        return nullptr;
    return m_pages[static_cast<std::size_t>(nIndex)];
}

void CPageTabCtrl::SelectPage(int nIndex, bool bSelectTab) {
    if (m_pTab == nullptr)
        return;
    if (CTabPageDlg* pOld = PageAt(m_nCurrent))
        m_pTab->ShowPage(*pOld, false);
    m_nCurrent = nIndex;
    if (CTabPageDlg* pNew = PageAt(nIndex)) {
        m_pTab->ShowPage(*pNew, true);
        if (bSelectTab)
            m_pTab->SetCurSel(nIndex);
    }
}

const SRect& CPageTabCtrl::GetDisplayRect() {
    if (m_rcDisplay.IsNull() && m_pTab != nullptr)
        m_rcDisplay = m_pTab->GetDisplayArea();
    return m_rcDisplay;
}

bool CPageTabCtrl::OnSelChange() {
    if (m_pTab != nullptr)
        SelectPage(m_pTab->GetCurSel(), false);
    return false;
}

int CPageTabCtrl::GetItemCount() const {
    return m_pTab != nullptr ? m_pTab->GetItemCount() : 0;
}

int CPageTabCtrl::GetCurSel() const {
    return m_pTab != nullptr ? m_pTab->GetCurSel() : -1;
}

} // namespace tarnwick
