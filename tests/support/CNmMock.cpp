#include "CNmMock.h"

#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>

namespace tarnwick {

namespace {
QString PathOf(const QDBusMessage& reply) {
    return QDBusReply<QDBusObjectPath>(reply).value().path();
}

// Python run by the stand-in as the body of ActivateConnection.
QString ActivationScript(CNmMock::EOutcome outcome, int nDelayMs) {
    using EOutcome = CNmMock::EOutcome;
    const QString strActivate =
        QStringLiteral("ret = self.activate_connection(self, args[0], args[1], args[2])\n");
    if (outcome == EOutcome::Refused)
        return QStringLiteral("raise dbus.exceptions.DBusException('Refused', "
                              "name='org.freedesktop.NetworkManager.UnknownConnection')");
    if (outcome == EOutcome::LateAnswer)
        return strActivate + QStringLiteral("import time\ntime.sleep(%1)\n").arg(nDelayMs / 1e3);
    // The connection is activating; nDelayMs later it is activated (2), deactivated (4) or
    // gone (0: out of the list and off the bus, as the real service's failed connections).
    const int nEnd = outcome == EOutcome::Activated ? 2 : outcome == EOutcome::Deactivated ? 4 : 0;
    return strActivate +
           QStringLiteral(
               "A, N = 'org.freedesktop.NetworkManager.Connection.Active', "
               "'org.freedesktop.NetworkManager'\n"
               "objects[ret].Set(A, 'State', dbus.UInt32(1))\n"
               "def finish(p=ret, A=A, N=N, m=objects['/org/freedesktop/NetworkManager']):\n"
               "    if p in objects and %1:\n"
               "        objects[p].Set(A, 'State', dbus.UInt32(%1))\n"
               "    elif p in objects:\n"
               "        m.Set(N, 'ActiveConnections', dbus.Array([c for c in m.Get(N, "
               "'ActiveConnections') if c != p], signature='o'))\n"
               "        objects[p].remove_from_connection()\n"
               "        del objects[p]\n"
               "from gi.repository import GLib\n"
               "if %2: GLib.timeout_add(%3, finish)\n")
               .arg(nEnd)
               .arg(outcome != EOutcome::StaysActivating)
               .arg(nDelayMs);
}
} // namespace

bool CNmMock::Reset() {
    // The stand-in's own Reset drops the active connections unannounced; NetworkManager
    // would announce the empty list. NMDeviceState 30: disconnected.
    const QString strRoot = QStringLiteral("/org/freedesktop");
    const QString strDevice = QStringLiteral("eth0");
    const QVariant none =
        QVariant::fromValue(QDBusVariant(QVariant::fromValue(QList<QDBusObjectPath>())));
    return Mock(strRoot, QStringLiteral("Reset")) &&
           Mock(strRoot, QStringLiteral("AddEthernetDevice"), {strDevice, strDevice, 30}) &&
           Call(kManagerPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                QStringLiteral("Set"), {kService, QStringLiteral("ActiveConnections"), none})
                   .type() == QDBusMessage::ReplyMessage;
}

bool CNmMock::SetStateUnannounced(const QString& strActive, unsigned nState) {
    const QString strMethod = QStringLiteral("SetStateUnannounced");
    return Mock(kManagerPath, QStringLiteral("AddMethod"),
                {kService, strMethod, QStringLiteral("ou"), QString(),
                 QStringLiteral(
                     "objects[args[0]].props['org.freedesktop.NetworkManager.Connection.Active']"
                     "['State'] = dbus.UInt32(args[1])")}) &&
           Call(kManagerPath, kService, strMethod,
                {QVariant::fromValue(QDBusObjectPath(strActive)), nState})
                   .type() == QDBusMessage::ReplyMessage;
}

QString CNmMock::AddProfile(QAnyStringView strId, QAnyStringView strType) {
    qDBusRegisterMetaType<QMap<QString, QVariantMap>>();
    const QMap<QString, QVariantMap> settings{
        {QStringLiteral("connection"), QVariantMap{{QStringLiteral("id"), strId.toString()},
                                                   {QStringLiteral("type"), strType.toString()}}}};
    return PathOf(Call(kManagerPath + QStringLiteral("/Settings"),
                       kService + QStringLiteral(".Settings"), QStringLiteral("AddConnection"),
                       {QVariant::fromValue(settings)}));
}

QString CNmMock::Activate(const QString& strProfile) {
    const QVariant root = QVariant::fromValue(QDBusObjectPath(QStringLiteral("/")));
    return PathOf(Call(kManagerPath, kService, QStringLiteral("ActivateConnection"),
                       {QVariant::fromValue(QDBusObjectPath(strProfile)), root, root}));
}

bool CNmMock::ScriptActivation(EOutcome outcome, int nDelayMs) {
    return Mock(kManagerPath, QStringLiteral("AddMethod"),
                {kService, QStringLiteral("ActivateConnection"), QStringLiteral("ooo"),
                 QStringLiteral("o"), ActivationScript(outcome, nDelayMs)});
}

bool CNmMock::BreakProfile(const QString& strProfile) {
    return Mock(strProfile, QStringLiteral("AddMethod"),
                {kService + QStringLiteral(".Settings.Connection"), QStringLiteral("GetSettings"),
                 QString(), QStringLiteral("a{sa{sv}}"),
                 QStringLiteral("raise dbus.exceptions.DBusException('Not allowed', "
                                "name='org.freedesktop.NetworkManager.PermissionDenied')")});
}

} // namespace tarnwick
