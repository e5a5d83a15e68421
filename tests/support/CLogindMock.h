#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariantList>

#include <vector>

// Reads and scripts python3-dbusmock's logind stand-in.
class CLogindMock {
public:
    explicit CLogindMock(const QDBusConnection& bus);

    // The recorded calls of Reboot or PowerOff with their arguments.
    std::vector<QVariantList> Calls(const QString& strMethod);
    bool ClearCalls();
    // Reboot and PowerOff answer with an error from now on, as a refusing logind does.
    bool Refuse();

private:
    QDBusConnection m_bus;
};
