#include "ui/qt/CQtNotification.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace tarnwick {

bool SendNotification(const QString& strSummary, const QString& strBody) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // Application name, no notification to replace, the icon by its theme name, summary,
    // body, no actions, no hints, the server's own display time.
    call << QStringLiteral("Tarnwick") << 0u << QStringLiteral("tarnwick") << strSummary << strBody
         << QStringList() << QVariantMap() << -1;
    return bus.call(call, QDBus::Block, 1000).type() == QDBusMessage::ReplyMessage;
}

} // namespace tarnwick
