#pragma once

// NetworkManager's D-Bus names and the small helpers its client's files share.

#include <QDBusMessage>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

namespace tarnwick::nm {

inline const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
inline const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
inline const QString kManagerIface = QStringLiteral("org.freedesktop.NetworkManager");
inline const QString kActiveIface =
    QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
inline const QString kPropertiesIface = QStringLiteral("org.freedesktop.DBus.Properties");

// NMActiveConnectionState
constexpr unsigned kStateActivated = 2;
constexpr unsigned kStateDeactivating = 3;
constexpr unsigned kStateDeactivated = 4;

using Clock = std::chrono::steady_clock;

inline bool IsReply(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage;
}

// A bus call's timeout in Qt's milliseconds, at least 1 and at most an hour.
inline int ToMs(std::chrono::milliseconds timeout) {
    return static_cast<int>(
        std::clamp<std::chrono::milliseconds::rep>(timeout.count(), 1, 3600000));
}

inline std::chrono::milliseconds Until(Clock::time_point deadline) {
    return std::max(std::chrono::milliseconds::zero(),
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()));
}

inline std::string Seconds(Clock::duration duration) {
    char szText[32];
    std::snprintf(szText, sizeof szText, "%.1f s", std::chrono::duration<double>(duration).count());
    return szText;
}

inline std::string ErrorOf(const QDBusMessage& reply) {
    return reply.errorName().isEmpty()
               ? std::string("no answer")
               : (reply.errorName() + QStringLiteral(": ") + reply.errorMessage()).toStdString();
}

} // namespace tarnwick::nm
