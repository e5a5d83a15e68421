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
    return QMessageBox::question(nullptr, QApplication::applicationName(),
                                 QString::fromStdString(strText),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
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
