#include "ui/qt/CQtTabControl.h"

#include "dialogs/CTabPageDlg.h"
#include "res/ParamsDialogs.h"
#include "ui/qt/CQtDialogBuilder.h"
#include "ui/qt/CQtDialogItems.h"

#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace tarnwick {

CQtTabControl::CQtTabControl(const CQtDialogBuilder& builder, QWidget* pParent)
    : QTabWidget(pParent), m_builder(builder) {
    tabBar()->setFocusPolicy(Qt::NoFocus);
    connect(this, &QTabWidget::currentChanged, this, &CQtTabControl::OnCurrentChanged);
}

CQtTabControl::~CQtTabControl() {
    // The pages' control objects let go of the widgets before these go.
    for (auto& [pPage, pItems] : m_pages)
        pPage->DestroyWindow();
    m_pages.clear();
}

void CQtTabControl::OnCurrentChanged() {
    if (!m_bQuiet && m_fnSelChange)
        m_fnSelChange();
}

int CQtTabControl::InsertItem(int nIndex, const std::string& strCaption) {
    if (nIndex < 0 || nIndex > count())
        return -1;
    m_bQuiet = true;
    const int nResult = insertTab(nIndex, new QWidget, QString::fromStdString(strCaption));
    m_bQuiet = false;
    return nResult;
}

void CQtTabControl::SetCurSel(int nIndex) {
    if (nIndex < 0 || nIndex >= count())
        return;
    m_bQuiet = true;
    setCurrentIndex(nIndex);
    m_bQuiet = false;
}

SRect CQtTabControl::GetDisplayArea() const {
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    const QRect rc = style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
    return SRect{rc.left(), rc.top(), rc.right() + 1, rc.bottom() + 1};
}

bool CQtTabControl::CreatePage(CTabPageDlg& page) {
    const SDlgTemplate* pTemplate = FindDialogTemplate(page.GetTemplateID());
    if (pTemplate == nullptr || m_pages.count(&page) != 0)
        return false;
    auto* pWindow = new QWidget(this);
    pWindow->setObjectName(QStringLiteral("page%1").arg(page.GetTemplateID()));
    pWindow->hide();
    auto pItems = std::make_unique<CQtDialogItems>(pWindow, m_builder.Build(*pTemplate, pWindow),
                                                   *pTemplate, page);
    CQtDialogItems& items = *pItems;
    m_pages.emplace(&page, std::move(pItems));
    return page.Create(items);
}

QWidget* CQtTabControl::GetPageWindow(const CTabPageDlg& page) const {
    const CQtDialogItems* pItems = GetPageItems(page);
    return pItems != nullptr ? pItems->GetWindow() : nullptr;
}

CQtDialogItems* CQtTabControl::GetPageItems(const CTabPageDlg& page) const {
    const auto it = m_pages.find(&page);
    return it == m_pages.end() ? nullptr : it->second.get();
}

void CQtTabControl::MovePage(CTabPageDlg& page, const SRect& rc) {
    if (QWidget* pWindow = GetPageWindow(page)) {
        pWindow->setGeometry(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
        pWindow->raise(); // above the empty placeholders
    }
}

void CQtTabControl::ShowPage(CTabPageDlg& page, bool bShow) {
    if (QWidget* pWindow = GetPageWindow(page))
        pWindow->setVisible(bShow);
}

} // namespace tarnwick
