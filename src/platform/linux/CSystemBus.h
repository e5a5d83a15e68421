#pragma once

#include <QDBusConnection>
#include <QString>

namespace tarnwick {

class ILog;

// One connection to the system bus (or to the bus at an address) that is opened again when
// the bus daemon went away and is back: a restarted bus must not leave the program deaf for
// ever. The loss and the return are logged once each.
class CSystemBus {
public:
    // An empty address: the system bus (DBUS_SYSTEM_BUS_ADDRESS, else the standard socket).
    explicit CSystemBus(ILog& log, QString strAddress = QString());
    ~CSystemBus();
    CSystemBus(const CSystemBus&) = delete;
    CSystemBus& operator=(const CSystemBus&) = delete;

    // The connection, opened anew first when the last one was lost. It may be unconnected
    // (calls on it then fail at once) while the bus is away.
    QDBusConnection Get();
    // Counts the connections opened so far: users that subscribed to signals subscribe again
    // when it changed.
    unsigned Generation() const { return m_nGeneration; }

private:
    QDBusConnection Open();

    ILog& m_log;
    QString m_strAddress;
    QString m_strName;
    QDBusConnection m_bus;
    unsigned m_nGeneration = 0;
    bool m_bLost = false;
};

} // namespace tarnwick
