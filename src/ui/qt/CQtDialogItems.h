#pragma once

#include "dialogs/CComboList.h"
#include "dialogs/IDialogItems.h"
#include "res/DialogTemplate.h"

#include <QObject>

#include <map>

class QComboBox;
class QWidget;

namespace tarnwick {

class CTabPageDlg;

// The controls of one page as dialog items: control ids mapped to the widgets built from
// the page's template. What the user does is passed to the page as the controls'
// notifications (clicks, list choices, an edit losing the focus), Enter and Escape typed
// anywhere in the page as the page's OK and Cancel, and keys a control keeps for itself
// (the Delete key of an integer field) are kept from every shortcut.
class CQtDialogItems : public QObject, public IDialogItems {
public:
    CQtDialogItems(QWidget* pWindow, std::map<int, QWidget*> widgets, const SDlgTemplate& dlg,
                   CTabPageDlg& page);
    ~CQtDialogItems() override;

    bool HasItem(int nID) const override;
    void EnableItem(int nID, bool bEnable) override;
    bool IsItemEnabled(int nID) const override;
    std::string GetItemText(int nID) const override;
    void SetItemText(int nID, const std::string& strText) override;
    int GetCheck(int nID) const override;
    void SetCheck(int nID, int nCheck) override;
    int AddString(int nID, const std::string& strText) override;
    int GetCount(int nID) const override;
    std::string GetLBText(int nID, int nIndex) const override;
    int GetCurSel(int nID) const override;
    int SetCurSel(int nID, int nIndex) override;
    int SelectString(int nID, int nStartAfter, const std::string& strPrefix) override;

    QWidget* GetWindow() const { return m_pWindow; }
    QWidget* GetItem(int nID) const;
    const std::map<int, QWidget*>& GetItems() const { return m_widgets; }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    struct SCombo {
        QComboBox* pCombo;
        CComboList list;
    };
    SCombo* FindCombo(int nID);
    const SCombo* FindCombo(int nID) const;
    void Connect(int nID, QWidget* pWidget);

    QWidget* m_pWindow;
    std::map<int, QWidget*> m_widgets;
    std::map<QObject*, int> m_ids; // widget -> control id, for events
    std::map<int, SCombo> m_combos;
    CTabPageDlg& m_page;
};

} // namespace tarnwick
