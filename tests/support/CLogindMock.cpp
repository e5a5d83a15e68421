#include "CLogindMock.h"

#include "MockCalls.h"

#include <QDBusMessage>

namespace {
const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kMockIface = QStringLiteral("org.freedesktop.DBus.Mock");

QDBusMessage MockCall(QDBusConnection& bus, const QString& strMethod, const QVariantList& args) {
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kMockIface, strMethod);
    message.setArguments(args);
    return bus.call(message, QDBus::Block, 5000);
}
} // namespace

CLogindMock::CLogindMock(const QDBusConnection& bus) : m_bus(bus) {}

std::vector<QVariantList> CLogindMock::Calls(const QString& strMethod) {
    return ParseMethodCalls(MockCall(m_bus, "GetMethodCalls", {strMethod}));
}

bool CLogindMock::ClearCalls() {
    return MockCall(m_bus, "ClearCalls", {}).type() == QDBusMessage::ReplyMessage;
}

bool CLogindMock::Refuse() {
    const QString strCode = QStringLiteral("raise dbus.exceptions.DBusException('Access denied', "
                                           "name='org.freedesktop.DBus.Error.AccessDenied')");
    for (const char* pszMethod : {"Reboot", "PowerOff"}) {
        if (MockCall(m_bus, "AddMethod",
                     {QStringLiteral("org.freedesktop.login1.Manager"), QString(pszMethod), "b", "",
                      strCode})
                .type() != QDBusMessage::ReplyMessage)
            return false;
    }
    return true;
}
