#pragma once

#include "MockCalls.h"

namespace tarnwick {

// Reads and scripts python3-dbusmock's logind stand-in.
class CLogindMock {
public:
    explicit CLogindMock(const QDBusConnection& bus) : m_bus(bus) {}

    // The recorded calls of Reboot or PowerOff with their arguments.
    std::vector<QVariantList> Calls(const QString& strMethod) const {
        return MethodCalls(m_bus, kService, kPath, strMethod);
    }
    // Reboot and PowerOff answer with an error from now on, as a refusing logind does.
    bool Refuse() const {
        bool bDone = true;
        for (const char* pszMethod : {"Reboot", "PowerOff"})
            bDone = bDone &&
                    CallStandIn(m_bus, kService, kPath, "org.freedesktop.DBus.Mock", "AddMethod",
                                {kService + ".Manager", pszMethod, "b", "",
                                 "raise dbus.exceptions.DBusException('Access denied', "
                                 "name='org.freedesktop.DBus.Error.AccessDenied')"})
                            .type() == QDBusMessage::ReplyMessage;
        return bDone;
    }

private:
    inline static const QString kService = "org.freedesktop.login1";
    inline static const QString kPath = "/org/freedesktop/login1";
    QDBusConnection m_bus;
};

} // namespace tarnwick
