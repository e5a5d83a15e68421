#include "ui/qt/CQtUserInterface.h"

#include "dialogs/CParamsDlg.h"
#include "res/AboutBox.h"
#include "ui/qt/CQtAboutBox.h"
#include "ui/qt/CQtFileChooser.h"
#include "ui/qt/CQtIcon.h"
#include "ui/qt/CQtNotification.h"
#include "ui/qt/CQtParamsDialog.h"
#include "ui/qt/CQtWindowHints.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QMessageBox>
#include <QMetaObject>

#include <cstdio>
#include <utility>

namespace tarnwick {

bool CQtUserInterface::AskYesNo(const std::string& strText) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(),
                    QString::fromStdString(strText), QMessageBox::Yes | QMessageBox::No);
    box.setWindowIcon(ProgramIcon());
    RemoveMinMaxButtons(box);
    // Modal to the program's hidden main window, like the dialogs: the tray icon and its
    // menu stay live while the question waits. Application-wide modality would freeze them.
    box.setWindowModality(Qt::WindowModal);
    return box.exec() == QMessageBox::Yes;
}

void CQtUserInterface::DoModalAbout() {
    CQtAboutBox box(AboutBoxTemplate());
    box.exec();
}

void CQtUserInterface::DoModalSettings(IParamsHost& host) {
    CQtFileChooser fileChooser;
    CParamsDlg dlg(host, fileChooser);
    CQtParamsDialog window(dlg);
    m_pSettings = &window;
    window.DoModal();
}

void CQtUserInterface::RaiseSettings() {
    if (m_pSettings.isNull())
        return;
    BringToFront(*m_pSettings);
    // A file chooser open above the dialog comes along, on top of it.
    QWidget* pModal = QApplication::activeModalWidget();
    if (pModal != nullptr && pModal != m_pSettings)
        BringToFront(*pModal);
}

void CQtUserInterface::BringToFront(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

void CQtUserInterface::TellUser(const std::string& strText) {
    std::fprintf(stderr, "%s\n", strText.c_str());
    std::fflush(stderr);
    SendNotification(QApplication::applicationName(), QString::fromStdString(strText));
}

void CQtUserInterface::Post(std::function<void()> fn) {
    QMetaObject::invokeMethod(qApp, std::move(fn), Qt::QueuedConnection);
}

void CQtUserInterface::PostQuit() {
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void CQtUserInterface::Notify(const std::string& strSummary, const std::string& strBody) {
    // Without an address Qt would launch a bus of its own and leave it running.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    message << QApplication::applicationName() << 0u << QStringLiteral("tarnwick")
            << QString::fromStdString(strSummary) << QString::fromStdString(strBody)
            << QStringList() << QVariantMap() << -1;
    // No reply is awaited: a missing server costs nothing but an error nobody reads.
    message.setAutoStartService(true);
    bus.asyncCall(message);
}

} // namespace tarnwick
