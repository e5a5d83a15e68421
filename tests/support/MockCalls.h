#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantList>

#include <vector>

namespace tarnwick {

// A method call to a python3-dbusmock stand-in, bounded at 5 s.
QDBusMessage CallStandIn(const QDBusConnection& bus, const QString& strService,
                         const QString& strPath, const QString& strInterface,
                         const QString& strMethod, const QVariantList& args = {});
// The argument lists of the calls of strMethod the stand-in's object at strPath has had.
std::vector<QVariantList> MethodCalls(const QDBusConnection& bus, const QString& strService,
                                      const QString& strPath, const QString& strMethod);

} // namespace tarnwick
