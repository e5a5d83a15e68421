#pragma once

#include <QDBusMessage>
#include <QVariantList>

#include <vector>

// The argument lists of a dbusmock GetMethodCalls reply (a(tav)).
std::vector<QVariantList> ParseMethodCalls(const QDBusMessage& reply);
