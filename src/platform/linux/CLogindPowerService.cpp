#include "platform/linux/CLogindPowerService.h"

#include "platform/linux/CSystemBus.h"

#include <QDBusMessage>
#include <QString>

namespace tarnwick {

CLogindPowerService::CLogindPowerService(const QDBusConnection& bus,
                                         std::chrono::milliseconds callTimeout)
    : m_fnBus([bus] { return bus; }), m_callTimeout(callTimeout) {}

CLogindPowerService::CLogindPowerService(CSystemBus& bus, std::chrono::milliseconds callTimeout)
    : m_fnBus([&bus] { return bus.Get(); }), m_callTimeout(callTimeout) {}

bool CLogindPowerService::ExitSystem(unsigned uFlags) {
    m_strLastError.clear();
    QString strMethod;
    if ((uFlags & EWX::Reboot) != 0)
        strMethod = QStringLiteral("Reboot");
    else if ((uFlags & EWX::Shutdown) != 0)
        strMethod = QStringLiteral("PowerOff");
    else
        return false;
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), strMethod);
    // Not interactive: nobody is there to answer an authentication prompt.
    message.setArguments({false});
    const QDBusMessage reply =
        m_fnBus().call(message, QDBus::Block, static_cast<int>(m_callTimeout.count()));
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    // "access denied", "no reply", "service unknown": logind's own words.
    m_strLastError =
        (reply.errorName() + QStringLiteral(": ") + reply.errorMessage()).toStdString();
    return false;
}

} // namespace tarnwick
