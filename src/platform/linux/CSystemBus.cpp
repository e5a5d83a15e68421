#include "platform/linux/CSystemBus.h"

#include "platform/ILog.h"

#include <QDBusError>

namespace tarnwick {

namespace {
QString NameOf(const void* pOwner, unsigned nGeneration) {
    return QStringLiteral("tarnwick-system-bus-%1-%2")
        .arg(reinterpret_cast<quintptr>(pOwner))
        .arg(nGeneration);
}
} // namespace

CSystemBus::CSystemBus(ILog& log, QString strAddress)
    : m_log(log), m_strAddress(std::move(strAddress)), m_bus(QString()) {
    m_bus = Open();
}

CSystemBus::~CSystemBus() {
    QDBusConnection::disconnectFromBus(m_strName);
}

QDBusConnection CSystemBus::Open() {
    ++m_nGeneration;
    m_strName = NameOf(this, m_nGeneration);
    return m_strAddress.isEmpty()
               ? QDBusConnection::connectToBus(QDBusConnection::SystemBus, m_strName)
               : QDBusConnection::connectToBus(m_strAddress, m_strName);
}

QDBusConnection CSystemBus::Get() {
    if (m_bus.isConnected())
        return m_bus;
    if (!m_bLost) {
        m_bLost = true;
        m_log.Write(LogLevel::Warning, "bus",
                    "system bus lost: " +
                        (m_bus.lastError().isValid() ? m_bus.lastError().message().toStdString()
                                                     : std::string("connection closed")) +
                        "; trying again at every use");
    }
    // A bus that is still away costs one failed connect on a local socket.
    QDBusConnection::disconnectFromBus(m_strName);
    m_bus = Open();
    if (m_bus.isConnected()) {
        m_bLost = false;
        m_log.Write(LogLevel::Notice, "bus", "system bus back; connected again");
    }
    return m_bus;
}

} // namespace tarnwick
