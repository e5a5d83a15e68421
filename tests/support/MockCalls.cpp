#include "MockCalls.h"

#include <QDBusArgument>
#include <QDBusVariant>

std::vector<QVariantList> ParseMethodCalls(const QDBusMessage& reply) {
    std::vector<QVariantList> calls;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return calls;
    const QDBusArgument argument = reply.arguments().at(0).value<QDBusArgument>();
    argument.beginArray();
    while (!argument.atEnd()) {
        qulonglong nTime = 0;
        QVariantList args;
        argument.beginStructure();
        argument >> nTime;
        argument.beginArray();
        while (!argument.atEnd()) {
            QDBusVariant value;
            argument >> value;
            args.push_back(value.variant());
        }
        argument.endArray();
        argument.endStructure();
        calls.push_back(args);
    }
    argument.endArray();
    return calls;
}
