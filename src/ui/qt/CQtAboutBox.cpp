#include "ui/qt/CQtAboutBox.h"

#include "res/AboutBox.h"
#include "ui/qt/CQtIcon.h"
#include "ui/qt/CQtWindowHints.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace tarnwick {

namespace {
// The average width of the Latin letters, as dialog units count it.
int AverageCharWidth(const QFontMetrics& metrics) {
    const QString strLetters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return (metrics.horizontalAdvance(strLetters) / 26 + 1) / 2;
}

int Scale(int nUnits, int nBase, int nPerBase) {
    return (nUnits * nBase + nPerBase / 2) / nPerBase;
}
} // namespace

QRect CQtAboutBox::MapDialogRect(const QFontMetrics& metrics, int x, int y, int cx, int cy) {
    const int nBaseX = AverageCharWidth(metrics);
    const int nBaseY = metrics.height();
    return QRect(Scale(x, nBaseX, 4), Scale(y, nBaseY, 8), Scale(cx, nBaseX, 4),
                 Scale(cy, nBaseY, 8));
}

CQtAboutBox::CQtAboutBox(const SAboutTemplate& dlgTemplate, QWidget* pParent) : QDialog(pParent) {
    // The template names the classic Windows dialog font; here the desktop's own dialog
    // font stands in for it, and the layout scales with it.
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (dlgTemplate.bSystemMenu)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (dlgTemplate.bStayOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
    setWindowTitle(QString::fromStdString(dlgTemplate.strCaption));
    setWindowIcon(ProgramIcon());
    // Modal to the program's hidden main window, which no window shows: exec() waits for
    // the box, and the tray icon stays live meanwhile (one box at a time is the about
    // command's own guard). Application-wide modality would block the tray as well.
    setWindowModality(Qt::WindowModal);

    const QFontMetrics metrics(font());
    setFixedSize(MapDialogRect(metrics, 0, 0, dlgTemplate.cx, dlgTemplate.cy).size());

    for (const SAboutControl& control : dlgTemplate.controls) {
        const QRect rect = MapDialogRect(metrics, control.x, control.y, control.cx, control.cy);
        switch (control.eKind) {
        case SAboutControl::EKind::Icon: {
            // An icon control takes the icon's natural size, whatever the template says.
            const int nSize = style()->pixelMetric(QStyle::PM_LargeIconSize);
            auto* pIcon = new QLabel(this);
            pIcon->setPixmap(ProgramIcon().pixmap(nSize, nSize));
            pIcon->setGeometry(rect.x(), rect.y(), nSize, nSize);
            break;
        }
        case SAboutControl::EKind::Text: {
            auto* pText = new QLabel(QString::fromStdString(control.strText), this);
            pText->setTextFormat(Qt::PlainText);
            pText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            pText->setGeometry(rect);
            break;
        }
        case SAboutControl::EKind::DefPushButton: {
            auto* pButton = new QPushButton(QString::fromStdString(control.strText), this);
            pButton->setDefault(true);
            pButton->setGeometry(rect);
            pButton->setFocus();
            connect(pButton, &QPushButton::clicked, this, &QDialog::accept);
            break;
        }
        }
    }
    if (!dlgTemplate.bSystemMenu)
        RemoveCloseButton(*this);
}

} // namespace tarnwick
