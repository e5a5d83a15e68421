#pragma once

#include <QMenu>
#include <QPoint>

class CMenu;

// A menu model rendered as a QMenu: the default item in bold, disabled items greyed.
class CQtMenu {
public:
    explicit CQtMenu(const CMenu& menu);
    // Shows the menu at pos and waits; the chosen command id, or 0.
    unsigned Exec(const QPoint& pos);
    QMenu& Menu() { return m_menu; }

private:
    static void Fill(QMenu& target, const CMenu& menu);
    QMenu m_menu;
};
