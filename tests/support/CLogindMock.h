#pragma once

#include "MockCalls.h"

namespace tarnwick {

// Reads and scripts python3-dbusmock's logind stand-in.
class CLogindMock {
public:
    explicit CLogindMock(const QDBusConnection& bus) : m_bus(bus) {}

    // The recorded calls of Reboot or PowerOff with their arguments.
    std::vector<QVariantList> Calls(QAnyStringView strMethod) const {
        return MethodCalls(m_bus, kService, kPath, strMethod.toString());
    }
    // Reboot and PowerOff answer with an error from now on, as a refusing logind does.
    bool Refuse() const {
        bool bDone = true;
        for (const QString& strMethod : {QStringLiteral("Reboot"), QStringLiteral("PowerOff")})
            bDone =
                bDone &&
                CallStandIn(m_bus, kService, kPath, QStringLiteral("org.freedesktop.DBus.Mock"),
                            QStringLiteral("AddMethod"),
                            {kService + QStringLiteral(".Manager"), strMethod, QStringLiteral("b"),
                             QString(),
                             QStringLiteral("raise dbus.exceptions.DBusException('Access denied', "
                                            "name='org.freedesktop.DBus.Error.AccessDenied')")})
                        .type() == QDBusMessage::ReplyMessage;
        return bDone;
    }

private:
    inline static const QString kService = QStringLiteral("org.freedesktop.login1");
    inline static const QString kPath = QStringLiteral("/org/freedesktop/login1");
    QDBusConnection m_bus;
};

} // namespace tarnwick
