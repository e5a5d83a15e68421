#include "ui/qt/CQtUserInterface.h"

#include "dialogs/CParamsDlg.h"
#include "res/AboutBox.h"
#include "ui/qt/CQtAboutBox.h"
#include "ui/qt/CQtFileChooser.h"
#include "ui/qt/CQtParamsDialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>

#include <utility>

namespace tarnwick {

bool CQtUserInterface::AskYesNo(const std::string& strText) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(),
                    QString::fromStdString(strText), QMessageBox::Yes | QMessageBox::No);
    // Modal to the program's hidden main window, like the dialogs: the tray icon and its
    // menu stay live while the question waits. Application-wide modality would freeze them.
    box.setWindowModality(Qt::WindowModal);
    return box.exec() == QMessageBox::Yes;
}

void CQtUserInterface::DoModalAbout() {
    CQtAboutBox box(AboutBoxTemplate());
    box.exec();
}

void CQtUserInterface::DoModalSettings(CTarnwickApp& app) {
    CQtFileChooser fileChooser;
    CParamsDlg dlg(app, fileChooser);
    CQtParamsDialog window(dlg);
    window.DoModal();
}

void CQtUserInterface::Post(std::function<void()> fn) {
    QMetaObject::invokeMethod(qApp, std::move(fn), Qt::QueuedConnection);
}

void CQtUserInterface::PostQuit() {
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

} // namespace tarnwick
