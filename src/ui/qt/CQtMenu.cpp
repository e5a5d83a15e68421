#include "ui/qt/CQtMenu.h"

#include "tray/CMenu.h"

#include <QAction>

CQtMenu::CQtMenu(const CMenu& menu) {
    Fill(m_menu, menu);
}

void CQtMenu::Fill(QMenu& target, const CMenu& menu) {
    for (int nPos = 0; nPos < menu.GetMenuItemCount(); ++nPos) {
        const CMenu::Item& item = *menu.ItemAt(nPos);
        const QString strText = QString::fromStdString(item.strText);
        switch (item.eKind) {
        case CMenu::EKind::Separator:
            target.addSeparator();
            break;
        case CMenu::EKind::Popup: {
            QMenu* pSub = target.addMenu(strText);
            pSub->setEnabled(item.bEnabled);
            Fill(*pSub, item.popup.front());
            break;
        }
        case CMenu::EKind::Command: {
            QAction* pAction = target.addAction(strText);
            pAction->setData(item.nID);
            pAction->setEnabled(item.bEnabled);
            if (nPos == menu.GetDefaultItem()) {
                QFont font = pAction->font();
                font.setBold(true);
                pAction->setFont(font);
            }
            break;
        }
        }
    }
}

unsigned CQtMenu::Exec(const QPoint& pos) {
    QAction* pChosen = m_menu.exec(pos);
    return pChosen == nullptr ? 0 : pChosen->data().toUInt();
}
