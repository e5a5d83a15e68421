#include "ui/qt/CQtParamsDialog.h"

#include "dialogs/CParamsDlg.h"
#include "res/DialogIds.h"
#include "res/ParamsDialogs.h"
#include "res/Resource.h"
#include "ui/qt/CQtIcon.h"
#include "ui/qt/CQtTabControl.h"
#include "ui/qt/CQtWindowHints.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace tarnwick {

namespace {
// The dialog and its pages share one set of units, fitted to every text they show.
CQtDialogBuilder FittedBuilder(const QFont& font) {
    CQtDialogBuilder builder(font);
    for (unsigned nID : {IDD_PARAMS, IDD_LPTRESETTER, IDD_WATCHDOGGING, IDD_GENERAL})
        builder.FitTexts(*FindDialogTemplate(nID));
    builder.FitText(*FindDialogTemplate(IDD_LPTRESETTER)->FindItem(IDC_LPT_LIB_STATUS),
                    g_pszPortLibMissing);
    for (const char* pszMethod : g_AutorunMethodNames)
        builder.FitText(*FindDialogTemplate(IDD_GENERAL)->FindItem(IDC_GEN_METHOD), pszMethod);
    return builder;
}

QSize ClientSize(const CQtDialogBuilder& builder) {
    const SDlgTemplate& tmpl = *FindDialogTemplate(IDD_PARAMS);
    return builder.MapDialogRect({0, 0, tmpl.cx, tmpl.cy}).size();
}
} // namespace

CQtDialogBuilder CQtParamsDialog::FitToScreen(const QFont& font, const QSize& available) {
    CQtDialogBuilder builder = FittedBuilder(font);
    // A large font on a small screen would put OK and Cancel below the screen's edge: the
    // font shrinks, and the units with it, until the dialog fits. Text widths follow the
    // font nearly but not quite in proportion, so a step may need another.
    QFont smaller = font;
    for (int nStep = 0; nStep < 8; ++nStep) {
        const QSize size = ClientSize(builder);
        if (size.width() <= available.width() && size.height() <= available.height())
            break;
        const double dScale = 0.98 * std::min(double(available.width()) / size.width(),
                                              double(available.height()) / size.height());
        if (smaller.pointSizeF() > 0)
            smaller.setPointSizeF(std::max(1.0, smaller.pointSizeF() * dScale));
        else
            smaller.setPixelSize(std::max(1, int(smaller.pixelSize() * dScale)));
        builder = FittedBuilder(smaller);
    }
    return builder;
}

QSize CQtParamsDialog::AvailableClientSize() {
    const QScreen* pScreen = QGuiApplication::primaryScreen();
    if (pScreen == nullptr)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // The window manager's frame: a caption about two lines of text high, thin borders.
    const int nCaption = 2 * QFontMetrics(QApplication::font()).height();
    return pScreen->availableGeometry().size() - QSize(16, nCaption + 8);
}

CQtParamsDialog::CQtParamsDialog(CParamsDlg& dlg, QWidget* pParent)
    : QDialog(pParent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowStaysOnTopHint),
      m_dlg(dlg), m_builder(FitToScreen(QApplication::font(), AvailableClientSize())) {
    const SDlgTemplate& tmpl = *FindDialogTemplate(IDD_PARAMS);
    setWindowTitle(QString::fromStdString(tmpl.pszCaption));
    setWindowIcon(ProgramIcon());
    // Modal to the program's hidden main window, which no window shows: exec() waits for
    // the dialog while the tray icon stays live, so its menu shows Settings greyed and a
    // double click meets the Settings command's own guard. Application-wide modality would
    // block the tray as well.
    setWindowModality(Qt::WindowModal);
    setFont(m_builder.GetFont());
    setFixedSize(ClientSize(m_builder));
    m_widgets = m_builder.Build(tmpl, this);

    for (int nID : {static_cast<int>(ID::Ok), static_cast<int>(ID::Cancel)})
        if (QPushButton* pButton = GetButton(nID))
            connect(pButton, &QPushButton::clicked, this,
                    [this, nID] { m_dlg.OnDialogCommand(nID); });
    m_pTab = dynamic_cast<CQtTabControl*>(m_widgets[IDC_PARAMS_TAB]);
    if (m_pTab != nullptr)
        m_pTab->SetSelChangeHandler([this] { m_dlg.OnNotify(IDC_PARAMS_TAB, TCN::SelChange); });
    // No close button (Escape is Cancel), and no minimise or maximise either.
    RemoveCloseButton(*this);
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
