#include "MockCalls.h"

#include <QDBusArgument>
#include <QDBusVariant>

namespace tarnwick {

QDBusMessage CallStandIn(const QDBusConnection& bus, const QString& strService,
                         const QString& strPath, const QString& strInterface,
                         const QString& strMethod, const QVariantList& args) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(strService, strPath, strInterface, strMethod);
    message.setArguments(args);
    return bus.call(message, QDBus::Block, 5000);
}

std::vector<QVariantList> MethodCalls(const QDBusConnection& bus, const QString& strService,
                                      const QString& strPath, const QString& strMethod) {
    const QDBusMessage reply =
        CallStandIn(bus, strService, strPath, QStringLiteral("org.freedesktop.DBus.Mock"),
                    QStringLiteral("GetMethodCalls"), {strMethod});
    std::vector<QVariantList> calls;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return calls;
    // a(tav)
    const QDBusArgument argument = reply.arguments().at(0).value<QDBusArgument>();
    argument.beginArray();
    while (!argument.atEnd()) {
        argument.beginStructure();
        qdbus_cast<qulonglong>(argument); // the time of the call
        argument.beginArray();
        QVariantList& args = calls.emplace_back();
        while (!argument.atEnd())
            args.push_back(qdbus_cast<QDBusVariant>(argument).variant());
        argument.endArray();
        argument.endStructure();
    }
    argument.endArray();
    return calls;
}

} // namespace tarnwick
