#include "CNmMock.h"

#include "MockCalls.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QMap>

namespace {
const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
const QString kMainPath = QStringLiteral("/org/freedesktop");
const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kManagerIface = QStringLiteral("org.freedesktop.NetworkManager");
const QString kSettingsPath = QStringLiteral("/org/freedesktop/NetworkManager/Settings");
const QString kActiveIface = QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
const QString kMockIface = QStringLiteral("org.freedesktop.DBus.Mock");

using NMSettings = QMap<QString, QVariantMap>;

QString PathOf(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    const QVariant value = reply.arguments().at(0);
    if (value.canConvert<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

bool IsReply(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage;
}

// Python run by the stand-in as the body of ActivateConnection: an activating connection,
// and a timer that brings it to its end.
QString ActivationScript(CNmMock::EOutcome outcome, int nDelayMs) {
    using EOutcome = CNmMock::EOutcome;
    if (outcome == EOutcome::Refused)
        return QStringLiteral("raise dbus.exceptions.DBusException('Activation refused', "
                              "name='org.freedesktop.NetworkManager.UnknownConnection')");
    if (outcome == EOutcome::LateAnswer)
        return QStringLiteral("ret = self.activate_connection(self, args[0], args[1], args[2])\n"
                              "import time\n"
                              "time.sleep(%1 / 1000.0)\n")
            .arg(nDelayMs);
    QString strScript =
        QStringLiteral("ret = self.activate_connection(self, args[0], args[1], args[2])\n"
                       "objects[ret].Set('%1', 'State', dbus.UInt32(1))\n")
            .arg(kActiveIface);
    QString strFinish;
    switch (outcome) {
    case EOutcome::Activated:
        strFinish =
            QStringLiteral("    objects[p].Set('%1', 'State', dbus.UInt32(2))\n").arg(kActiveIface);
        break;
    case EOutcome::Deactivated:
        strFinish =
            QStringLiteral("    objects[p].Set('%1', 'State', dbus.UInt32(4))\n").arg(kActiveIface);
        break;
    case EOutcome::Vanished:
        // As the real service does with a failed connection: out of the list, off the bus.
        strFinish =
            QStringLiteral("    mgr = objects['/org/freedesktop/NetworkManager']\n"
                           "    left = [c for c in mgr.Get('org.freedesktop.NetworkManager', "
                           "'ActiveConnections') if c != p]\n"
                           "    mgr.Set('org.freedesktop.NetworkManager', 'ActiveConnections', "
                           "dbus.Array(left, signature='o'))\n"
                           "    objects[p].remove_from_connection()\n"
                           "    del objects[p]\n");
        break;
    default:
        return strScript;
    }
    return strScript +
           QStringLiteral("from gi.repository import GLib\n"
                          "def finish(p=ret):\n"
                          "    if p not in objects:\n"
                          "        return False\n") +
           strFinish +
           QStringLiteral("    return False\n"
                          "GLib.timeout_add(%1, finish)\n")
               .arg(nDelayMs);
}
} // namespace

CNmMock::CNmMock(const QDBusConnection& bus) : m_bus(bus) {
    qDBusRegisterMetaType<NMSettings>();
}

QDBusMessage CNmMock::Call(const QString& strPath, const QString& strInterface,
                           const QString& strMethod, const QVariantList& args) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, strPath, strInterface, strMethod);
    message.setArguments(args);
    return m_bus.call(message, QDBus::Block, 5000);
}

bool CNmMock::Reset() {
    return IsReply(Call(kMainPath, kMockIface, "Reset", {}));
}

QString CNmMock::AddProfile(const QString& strId, const QString& strType) {
    NMSettings settings;
    settings["connection"] = QVariantMap{{"id", strId}, {"type", strType}};
    return PathOf(Call(kSettingsPath, "org.freedesktop.NetworkManager.Settings", "AddConnection",
                       {QVariant::fromValue(settings)}));
}

QString CNmMock::AddDevice(const QString& strName) {
    // NMDeviceState 30: disconnected.
    return PathOf(Call(kMainPath, kMockIface, "AddEthernetDevice", {strName, strName, 30}));
}

QString CNmMock::Activate(const QString& strProfile) {
    const QDBusObjectPath root(QStringLiteral("/"));
    return PathOf(Call(kManagerPath, kManagerIface, "ActivateConnection",
                       {QVariant::fromValue(QDBusObjectPath(strProfile)), QVariant::fromValue(root),
                        QVariant::fromValue(root)}));
}

bool CNmMock::SetActiveState(const QString& strActive, unsigned nState) {
    return IsReply(Call(kMainPath, kMockIface, "SetProperty",
                        {strActive, kActiveIface, QStringLiteral("State"),
                         QVariant::fromValue(QDBusVariant(QVariant::fromValue(nState)))}));
}

QStringList CNmMock::ActiveConnections() {
    const QDBusMessage reply = Call(kManagerPath, "org.freedesktop.DBus.Properties", "Get",
                                    {kManagerIface, QStringLiteral("ActiveConnections")});
    QStringList paths;
    if (!IsReply(reply) || reply.arguments().isEmpty())
        return paths;
    const QVariant value = reply.arguments().at(0).value<QDBusVariant>().variant();
    for (const QDBusObjectPath& path : qdbus_cast<QList<QDBusObjectPath>>(value))
        paths << path.path();
    return paths;
}

bool CNmMock::ScriptActivation(EOutcome outcome, int nDelayMs) {
    return IsReply(Call(kManagerPath, kMockIface, "AddMethod",
                        {kManagerIface, QStringLiteral("ActivateConnection"), "ooo", "o",
                         ActivationScript(outcome, nDelayMs)}));
}

bool CNmMock::BreakProfile(const QString& strProfile) {
    return IsReply(
        Call(strProfile, kMockIface, "AddMethod",
             {QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection"),
              QStringLiteral("GetSettings"), "", "a{sa{sv}}",
              QStringLiteral("raise dbus.exceptions.DBusException('Not allowed', "
                             "name='org.freedesktop.NetworkManager.PermissionDenied')")}));
}

std::vector<QVariantList> CNmMock::ManagerCalls(const QString& strMethod) {
    return ParseMethodCalls(Call(kManagerPath, kMockIface, "GetMethodCalls", {strMethod}));
}

bool CNmMock::ClearCalls() {
    return IsReply(Call(kManagerPath, kMockIface, "ClearCalls", {}));
}
