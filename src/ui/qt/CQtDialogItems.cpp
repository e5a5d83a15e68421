#include "ui/qt/CQtDialogItems.h"

#include "dialogs/CTabPageDlg.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace tarnwick {

CQtDialogItems::CQtDialogItems(QWidget* pWindow, std::map<int, QWidget*> widgets,
                               const SDlgTemplate& dlg, CTabPageDlg& page)
    : m_pWindow(pWindow), m_widgets(std::move(widgets)), m_page(page) {
    for (const SDlgItemTemplate& item : dlg.items) {
        QWidget* pWidget = GetItem(item.nID);
        if (pWidget == nullptr)
            continue;
        if (auto* pCombo = qobject_cast<QComboBox*>(pWidget))
            m_combos.emplace(item.nID, SCombo{pCombo, CComboList((item.dwStyle & CBS::Sort) != 0)});
        Connect(item.nID, pWidget);
    }
    m_pWindow->installEventFilter(this);
}

CQtDialogItems::~CQtDialogItems() = default;

void CQtDialogItems::Connect(int nID, QWidget* pWidget) {
    m_ids[pWidget] = nID;
    if (auto* pButton = qobject_cast<QAbstractButton*>(pWidget)) {
        connect(pButton, &QAbstractButton::clicked, this,
                [this, nID] { m_page.OnNotify(nID, BN::Clicked); });
    } else if (auto* pCombo = qobject_cast<QComboBox*>(pWidget)) {
        connect(pCombo, &QComboBox::activated, this,
                [this, nID] { m_page.OnNotify(nID, CBN::SelChange); });
    } else if (qobject_cast<QLineEdit*>(pWidget) != nullptr) {
        pWidget->installEventFilter(this);
    }
}

bool CQtDialogItems::eventFilter(QObject* pWatched, QEvent* pEvent) {
    const QEvent::Type eType = pEvent->type();
    if (pWatched == m_pWindow) {
        // Enter and Escape that no control of the page took: the page's OK and Cancel.
        if (eType != QEvent::KeyPress)
            return false;
        auto* pKey = static_cast<QKeyEvent*>(pEvent);
        const Qt::KeyboardModifiers mods = pKey->modifiers() & ~Qt::KeypadModifier;
        if (mods != Qt::NoModifier)
            return false;
        if (pKey->key() == Qt::Key_Return || pKey->key() == Qt::Key_Enter) {
            m_page.OnOK();
            return true;
        }
        if (pKey->key() == Qt::Key_Escape) {
            m_page.OnCancel();
            return true;
        }
        return false;
    }

    const auto it = m_ids.find(pWatched);
    if (it == m_ids.end())
        return false;
    const int nID = it->second;
    if (eType == QEvent::FocusOut) {
        // A context menu borrows the focus only for a moment; the field is not left.
        if (static_cast<QFocusEvent*>(pEvent)->reason() != Qt::PopupFocusReason)
            m_page.OnNotify(nID, EN::KillFocus);
    } else if (eType == QEvent::ShortcutOverride) {
        // A key the control keeps: no shortcut of any ancestor may take it.
        auto* pKey = static_cast<QKeyEvent*>(pEvent);
        if (pKey->key() == Qt::Key_Delete && m_page.PreTranslateKey(nID, VK::Delete)) {
            pKey->accept();
            return true;
        }
    }
    return false;
}

QWidget* CQtDialogItems::GetItem(int nID) const {
    const auto it = m_widgets.find(nID);
    return it == m_widgets.end() ? nullptr : it->second;
}

CQtDialogItems::SCombo* CQtDialogItems::FindCombo(int nID) {
    const auto it = m_combos.find(nID);
    return it == m_combos.end() ? nullptr : &it->second;
}

const CQtDialogItems::SCombo* CQtDialogItems::FindCombo(int nID) const {
    const auto it = m_combos.find(nID);
    return it == m_combos.end() ? nullptr : &it->second;
}

bool CQtDialogItems::HasItem(int nID) const {
    return GetItem(nID) != nullptr;
}

void CQtDialogItems::EnableItem(int nID, bool bEnable) {
    if (QWidget* pWidget = GetItem(nID))
        pWidget->setEnabled(bEnable);
}

bool CQtDialogItems::IsItemEnabled(int nID) const {
    const QWidget* pWidget = GetItem(nID);
    return pWidget != nullptr && pWidget->isEnabledTo(m_pWindow);
}

std::string CQtDialogItems::GetItemText(int nID) const {
    const QWidget* pWidget = GetItem(nID);
    QString strText;
    if (const auto* pEdit = qobject_cast<const QLineEdit*>(pWidget))
        strText = pEdit->text();
    else if (const auto* pLabel = qobject_cast<const QLabel*>(pWidget))
        strText = pLabel->text();
    else if (const auto* pButton = qobject_cast<const QAbstractButton*>(pWidget))
        strText = pButton->text();
    else if (const auto* pGroup = qobject_cast<const QGroupBox*>(pWidget))
        strText = pGroup->title();
    else if (const auto* pCombo = qobject_cast<const QComboBox*>(pWidget))
        strText =
            pCombo->isEditable() || pCombo->currentIndex() >= 0 ? pCombo->currentText() : QString();
    return strText.toStdString();
}

void CQtDialogItems::SetItemText(int nID, const std::string& strText) {
    QWidget* pWidget = GetItem(nID);
    const QString str = QString::fromStdString(strText);
    if (auto* pEdit = qobject_cast<QLineEdit*>(pWidget))
        pEdit->setText(str);
    else if (auto* pLabel = qobject_cast<QLabel*>(pWidget))
        pLabel->setText(str);
    else if (auto* pButton = qobject_cast<QAbstractButton*>(pWidget))
        pButton->setText(str);
    else if (auto* pGroup = qobject_cast<QGroupBox*>(pWidget))
        pGroup->setTitle(str);
    else if (auto* pCombo = qobject_cast<QComboBox*>(pWidget); pCombo && pCombo->isEditable())
        pCombo->setEditText(str);
}

int CQtDialogItems::GetCheck(int nID) const {
    const auto* pCheck = qobject_cast<const QCheckBox*>(GetItem(nID));
    return pCheck != nullptr && pCheck->isChecked() ? BST::Checked : BST::Unchecked;
}

void CQtDialogItems::SetCheck(int nID, int nCheck) {
    if (auto* pCheck = qobject_cast<QCheckBox*>(GetItem(nID)))
        pCheck->setChecked(nCheck == BST::Checked);
}

int CQtDialogItems::AddString(int nID, const std::string& strText) {
    SCombo* pEntry = FindCombo(nID);
    if (pEntry == nullptr)
        return CB::Err;
    const int nIndex = pEntry->list.AddString(strText);
    // Adding an item selects nothing (a box without a selection keeps none, where QComboBox
    // would select its first item) and leaves the text of an edit field alone.
    QComboBox* pCombo = pEntry->pCombo;
    const bool bHadSelection = pCombo->currentIndex() >= 0;
    const QString strEdit = pCombo->currentText();
    pCombo->insertItem(nIndex, QString::fromStdString(strText));
    if (!bHadSelection)
        pCombo->setCurrentIndex(-1);
    if (pCombo->isEditable())
        pCombo->setEditText(strEdit);
    return nIndex;
}

int CQtDialogItems::GetCount(int nID) const {
    const SCombo* pEntry = FindCombo(nID);
    return pEntry != nullptr ? pEntry->list.GetCount() : 0;
}

std::string CQtDialogItems::GetLBText(int nID, int nIndex) const {
    const SCombo* pEntry = FindCombo(nID);
    return pEntry != nullptr ? pEntry->list.GetText(nIndex) : std::string();
}

int CQtDialogItems::GetCurSel(int nID) const {
    const SCombo* pEntry = FindCombo(nID);
    if (pEntry == nullptr)
        return CB::Err;
    const int nIndex = pEntry->pCombo->currentIndex();
    // An editable box whose text was typed over no longer has a selected item.
    if (nIndex >= 0 && pEntry->pCombo->isEditable() &&
        pEntry->pCombo->currentText() != pEntry->pCombo->itemText(nIndex))
        return CB::Err;
    return nIndex >= 0 ? nIndex : CB::Err;
}

int CQtDialogItems::SetCurSel(int nID, int nIndex) {
    SCombo* pEntry = FindCombo(nID);
    if (pEntry == nullptr)
        return CB::Err;
    const bool bValid = nIndex >= 0 && nIndex < pEntry->list.GetCount();
    pEntry->pCombo->setCurrentIndex(bValid ? nIndex : -1);
    return bValid ? nIndex : CB::Err;
}

int CQtDialogItems::SelectString(int nID, int nStartAfter, const std::string& strPrefix) {
    SCombo* pEntry = FindCombo(nID);
    if (pEntry == nullptr)
        return CB::Err;
    const int nIndex = pEntry->list.FindStringPrefix(nStartAfter, strPrefix);
    return nIndex < 0 ? CB::Err : SetCurSel(nID, nIndex);
}

} // namespace tarnwick
