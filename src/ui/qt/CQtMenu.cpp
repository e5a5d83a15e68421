#include "ui/qt/CQtMenu.h"

#include "tray/CMenu.h"

#include <QAction>

namespace tarnwick {

namespace {
void MarkDefault(QAction* pAction) {
    QFont font = pAction->font();
    font.setBold(true);
    pAction->setFont(font);
}
} // namespace

CQtMenu::CQtMenu(const CMenu& menu) {
    Fill(m_menu, menu);
}

void CQtMenu::Fill(QMenu& target, const CMenu& menu) {
    target.clear();
    for (QMenu* pOld : target.findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        pOld->deleteLater();

    for (int nPos = 0; nPos < menu.GetMenuItemCount(); ++nPos) {
        const CMenu::Item& item = *menu.ItemAt(nPos);
        const QString strText = QString::fromStdString(item.strText);
        QAction* pAction = nullptr;
        switch (item.eKind) {
        case CMenu::EKind::Separator:
            target.addSeparator();
            continue;
        case CMenu::EKind::Popup: {
            auto* pSub = new QMenu(strText, &target);
            Fill(*pSub, item.popup.front());
            pAction = target.addMenu(pSub);
            break;
        }
        case CMenu::EKind::Command:
            pAction = target.addAction(strText);
            pAction->setData(item.nID);
            break;
        }
        pAction->setEnabled(item.bEnabled);
        if (nPos == menu.GetDefaultItem())
            MarkDefault(pAction);
    }
}

unsigned CQtMenu::CommandOf(const QAction* pAction) {
    return pAction == nullptr || pAction->menu() != nullptr ? 0 : pAction->data().toUInt();
}

unsigned CQtMenu::Exec(const QPoint& pos) {
    return CommandOf(m_menu.exec(pos));
}

} // namespace tarnwick
