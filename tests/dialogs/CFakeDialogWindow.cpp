#include "CFakeDialogWindow.h"

#include "dialogs/CTabPageDlg.h"
#include "res/ParamsDialogs.h"

CFakeTabControl::~CFakeTabControl() {
    for (auto& [pPage, page] : m_pages)
        pPage->DestroyWindow();
}

int CFakeTabControl::InsertItem(int nIndex, const std::string& strCaption) {
    if (nIndex < 0 || nIndex > GetItemCount())
        return -1;
    m_tabs.insert(m_tabs.begin() + nIndex, strCaption);
    if (m_nCurSel < 0)
        m_nCurSel = 0; // a tab control selects its first tab by itself
    return nIndex;
}

void CFakeTabControl::SetCurSel(int nIndex) {
    m_nCurSel = nIndex >= 0 && nIndex < GetItemCount() ? nIndex : -1;
}

SRect CFakeTabControl::GetDisplayArea() const {
    ++m_nDisplayAreaCalls;
    return SRect{4, 24, 596, 380};
}

bool CFakeTabControl::CreatePage(CTabPageDlg& page) {
    const SDlgTemplate* pTemplate = FindDialogTemplate(page.GetTemplateID());
    if (m_bCreateFails || pTemplate == nullptr)
        return false;
    SPage& entry = m_pages[&page];
    entry.pItems = std::make_unique<CFakeDialogItems>(*pTemplate);
    entry.pItems->m_pPage = &page;
    return page.Create(*entry.pItems);
}

void CFakeTabControl::ShowPage(CTabPageDlg& page, bool bShow) {
    const auto it = m_pages.find(&page);
    if (it != m_pages.end())
        it->second.bVisible = bShow;
}

bool CFakeTabControl::IsVisible(CTabPageDlg& page) const {
    const auto it = m_pages.find(&page);
    return it != m_pages.end() && it->second.bVisible;
}

void CFakeTabControl::ClickTab(int nIndex) {
    SetCurSel(nIndex);
    if (m_fnSelChange)
        m_fnSelChange();
}
