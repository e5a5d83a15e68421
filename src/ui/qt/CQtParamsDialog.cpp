#include "ui/qt/CQtParamsDialog.h"

#include "dialogs/CParamsDlg.h"
#include "res/DialogIds.h"
#include "res/ParamsDialogs.h"
#include "res/Resource.h"
#include "ui/qt/CQtTabControl.h"

#include <QApplication>
#include <QPushButton>

namespace tarnwick {

CQtParamsDialog::CQtParamsDialog(CParamsDlg& dlg, QWidget* pParent)
    : QDialog(pParent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowStaysOnTopHint),
      m_dlg(dlg), m_builder(QApplication::font()) {
    // The dialog and its pages share one set of units, fitted to every text they show.
    for (unsigned nID : {IDD_PARAMS, IDD_LPTRESETTER, IDD_WATCHDOGGING, IDD_GENERAL})
        m_builder.FitTexts(*FindDialogTemplate(nID));
    m_builder.FitText(*FindDialogTemplate(IDD_LPTRESETTER)->FindItem(IDC_LPT_LIB_STATUS),
                      g_pszPortLibMissing);
    const SDlgTemplate& tmpl = *FindDialogTemplate(IDD_PARAMS);
    setWindowTitle(QString::fromStdString(tmpl.pszCaption));
    // Modal to the program's hidden main window, which no window shows: exec() waits for
    // the dialog while the tray icon stays live, so its menu shows Settings greyed and a
    // double click meets the Settings command's own guard. Application-wide modality would
    // block the tray as well.
    setWindowModality(Qt::WindowModal);
    setFixedSize(m_builder.MapDialogRect({0, 0, tmpl.cx, tmpl.cy}).size());
    m_widgets = m_builder.Build(tmpl, this);

    for (int nID : {static_cast<int>(ID::Ok), static_cast<int>(ID::Cancel)})
        if (QPushButton* pButton = GetButton(nID))
            connect(pButton, &QPushButton::clicked, this,
                    [this, nID] { m_dlg.OnDialogCommand(nID); });
    m_pTab = dynamic_cast<CQtTabControl*>(m_widgets[IDC_PARAMS_TAB]);
    if (m_pTab != nullptr)
        m_pTab->SetSelChangeHandler([this] { m_dlg.OnNotify(IDC_PARAMS_TAB, TCN_SELCHANGE); });
}

CQtParamsDialog::~CQtParamsDialog() {
    if (m_bInitialised)
        m_dlg.OnDestroy();
}

bool CQtParamsDialog::InitDialog() {
    if (m_bInitialised)
        return true;
    m_bInitialised = m_dlg.OnInitDialog(*this);
    return m_bInitialised;
}

int CQtParamsDialog::DoModal() {
    if (!InitDialog())
        return QDialog::Rejected;
    return exec();
}

QPushButton* CQtParamsDialog::GetButton(int nID) const {
    const auto it = m_widgets.find(nID);
    return it == m_widgets.end() ? nullptr : qobject_cast<QPushButton*>(it->second);
}

ITabControl* CQtParamsDialog::GetTabControl(int nID) {
    return nID == IDC_PARAMS_TAB ? m_pTab : nullptr;
}

void CQtParamsDialog::EndDialog(int nResult) {
    done(nResult == static_cast<int>(ID::Ok) ? QDialog::Accepted : QDialog::Rejected);
}

void CQtParamsDialog::reject() {
    m_dlg.OnDialogCommand(static_cast<int>(ID::Cancel));
}

} // namespace tarnwick
