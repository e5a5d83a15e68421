#pragma once

#include <QMenu>
#include <QPoint>

namespace tarnwick {

class CMenu;

// A menu model rendered as a QMenu: texts as the model holds them ("&" marks a mnemonic,
// "&&" is a literal "&"), the default item in bold, disabled items greyed. The chosen
// item's command id is the data of its action.
class CQtMenu {
public:
    explicit CQtMenu(const CMenu& menu);
    // Shows the menu at pos and waits; the chosen command id, or 0.
    unsigned Exec(const QPoint& pos);
    QMenu& Menu() { return m_menu; }

    // Replaces the items of target (and its sub-menus) with those of menu. Sub-menus of a
    // previous fill are deleted once control returns to the event loop, so this may run
    // while one of them is still delivering a signal.
    static void Fill(QMenu& target, const CMenu& menu);
    // The command id of an action that Fill made, or 0.
    static unsigned CommandOf(const QAction* pAction);

private:
    QMenu m_menu;
};

} // namespace tarnwick
