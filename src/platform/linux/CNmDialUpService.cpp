#include "platform/linux/CNmDialUpService.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QList>
#include <QMap>

#include <algorithm>
#include <thread>

namespace tarnwick {

namespace {
const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kManagerIface = QStringLiteral("org.freedesktop.NetworkManager");
const QString kSettingsPath = QStringLiteral("/org/freedesktop/NetworkManager/Settings");
const QString kSettingsIface = QStringLiteral("org.freedesktop.NetworkManager.Settings");
const QString kProfileIface = QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");
const QString kActiveIface = QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
const QString kPropertiesIface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kLoopbackType = QStringLiteral("loopback");

// NMActiveConnectionState
constexpr uint kStateActivated = 2;
constexpr uint kStateDeactivating = 3;
constexpr uint kStateDeactivated = 4;

// How often a dial in progress looks at its connection's state.
constexpr std::chrono::milliseconds kPollInterval{200};

using NMSettings = QMap<QString, QVariantMap>;

QList<QDBusObjectPath> ToPathList(const QVariant& value) {
    return qdbus_cast<QList<QDBusObjectPath>>(value);
}

// The id and type of a profile from its settings (GetSettings never carries secrets).
bool ParseSettings(const QDBusMessage& reply, QString& strId, QString& strType) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    const NMSettings settings = qdbus_cast<NMSettings>(reply.arguments().at(0));
    const QVariantMap connection = settings.value(QStringLiteral("connection"));
    strId = connection.value(QStringLiteral("id")).toString();
    strType = connection.value(QStringLiteral("type")).toString();
    return connection.contains(QStringLiteral("id"));
}

bool IsReply(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage;
}

int ToMs(std::chrono::milliseconds timeout) {
    return static_cast<int>(
        std::clamp<std::chrono::milliseconds::rep>(timeout.count(), 1, 3600000));
}
} // namespace

CNmDialUpService::CNmDialUpService(const QDBusConnection& bus,
                                   std::chrono::milliseconds dialTimeout,
                                   std::chrono::milliseconds callTimeout)
    : m_bus(bus), m_dialTimeout(dialTimeout), m_callTimeout(callTimeout) {
    qDBusRegisterMetaType<NMSettings>();
}

QDBusMessage CNmDialUpService::Call(const QString& strPath, const QString& strInterface,
                                    const QString& strMethod, const QVariantList& args,
                                    std::chrono::milliseconds timeout) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, strPath, strInterface, strMethod);
    message.setArguments(args);
    // A plain blocking call: no event loop runs while it waits, so no timer can fire.
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, ToMs(timeout));
    if (reply.type() == QDBusMessage::ErrorMessage)
        m_strLastError = (strMethod + QStringLiteral(": ") + reply.errorMessage()).toStdString();
    return reply;
}

bool CNmDialUpService::GetProperty(const QString& strPath, const QString& strInterface,
                                   const QString& strName, QVariant& value,
                                   std::chrono::milliseconds timeout) {
    const QDBusMessage reply =
        Call(strPath, kPropertiesIface, QStringLiteral("Get"), {strInterface, strName}, timeout);
    if (!IsReply(reply) || reply.arguments().isEmpty())
        return false;
    value = qvariant_cast<QDBusVariant>(reply.arguments().at(0)).variant();
    return value.isValid();
}

bool CNmDialUpService::ListActive(std::vector<SActive>& active) {
    QVariant list;
    if (!GetProperty(kManagerPath, kManagerIface, QStringLiteral("ActiveConnections"), list,
                     m_callTimeout))
        return false;
    const QList<QDBusObjectPath> paths = ToPathList(list);
    // The questions go out together and the answers are collected afterwards, so a long list
    // costs about one round trip instead of one per connection.
    std::vector<QDBusPendingCall> pending;
    for (const QDBusObjectPath& path : paths) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(kService, path.path(), kPropertiesIface, "GetAll");
        message.setArguments({kActiveIface});
        pending.push_back(m_bus.asyncCall(message, ToMs(m_callTimeout)));
    }
    active.clear();
    for (std::size_t i = 0; i < pending.size(); ++i) {
        pending[i].waitForFinished();
        const QDBusMessage reply = pending[i].reply();
        // A connection that went away since the listing is simply not listed.
        if (!IsReply(reply) || reply.arguments().isEmpty())
            continue;
        const QVariantMap properties = qdbus_cast<QVariantMap>(reply.arguments().at(0));
        if (properties.value(QStringLiteral("Type")).toString() == kLoopbackType)
            continue;
        active.push_back(
            {paths[static_cast<qsizetype>(i)].path(),
             qvariant_cast<QDBusObjectPath>(properties.value(QStringLiteral("Connection"))).path(),
             properties.value(QStringLiteral("Id")).toString()});
    }
    return true;
}

std::vector<QDBusMessage> CNmDialUpService::GetSettingsOf(const QStringList& profiles) {
    // Sent together and collected afterwards: one round trip's wait instead of one per profile.
    std::vector<QDBusPendingCall> pending;
    for (const QString& strPath : profiles)
        pending.push_back(m_bus.asyncCall(
            QDBusMessage::createMethodCall(kService, strPath, kProfileIface, "GetSettings"),
            ToMs(m_callTimeout)));
    std::vector<QDBusMessage> replies;
    for (QDBusPendingCall& call : pending) {
        call.waitForFinished();
        replies.push_back(call.reply());
    }
    return replies;
}

bool CNmDialUpService::EnumConnections(std::vector<SActiveConnection>& connections) {
    m_strLastError.clear();
    std::vector<SActive> active;
    if (!ListActive(active))
        return false;
    QStringList profiles;
    for (const SActive& entry : active)
        profiles.push_back(entry.strProfile.isEmpty() ? QStringLiteral("/") : entry.strProfile);
    const std::vector<QDBusMessage> replies = GetSettingsOf(profiles);
    connections.clear();
    for (std::size_t i = 0; i < replies.size(); ++i) {
        // The entry name is the id of the connection's profile, as the phone book shows it;
        // the active connection's own copy of the id serves when the profile is unreadable.
        QString strId;
        QString strType;
        if (!ParseSettings(replies[i], strId, strType))
            strId = active[i].strId;
        connections.push_back({strId.toStdString(), active[i].strPath.toStdString()});
    }
    return true;
}

bool CNmDialUpService::GetConnectStatus(const SActiveConnection& connection) {
    QVariant state;
    return GetProperty(QString::fromStdString(connection.strHandle), kActiveIface,
                       QStringLiteral("State"), state, m_callTimeout);
}

bool CNmDialUpService::HangUp(const SActiveConnection& connection) {
    m_strLastError.clear();
    const QDBusObjectPath path(QString::fromStdString(connection.strHandle));
    return IsReply(Call(kManagerPath, kManagerIface, QStringLiteral("DeactivateConnection"),
                        {QVariant::fromValue(path)}, m_callTimeout));
}

bool CNmDialUpService::ListProfiles(std::vector<SProfile>& profiles) {
    const QDBusMessage list =
        Call(kSettingsPath, kSettingsIface, QStringLiteral("ListConnections"), {}, m_callTimeout);
    if (!IsReply(list) || list.arguments().isEmpty())
        return false;
    const QList<QDBusObjectPath> paths = ToPathList(list.arguments().at(0));

    QStringList pathTexts;
    for (const QDBusObjectPath& path : paths)
        pathTexts.push_back(path.path());
    const std::vector<QDBusMessage> replies = GetSettingsOf(pathTexts);
    profiles.clear();
    for (std::size_t i = 0; i < replies.size(); ++i) {
        QString strId;
        QString strType;
        // A profile deleted since the listing, or one this user may not read, is left out.
        if (!ParseSettings(replies[i], strId, strType) || strType == kLoopbackType)
            continue;
        profiles.push_back({paths[static_cast<qsizetype>(i)].path(), strId.toStdString()});
    }
    return true;
}

bool CNmDialUpService::EnumEntries(std::vector<std::string>& entries) {
    m_strLastError.clear();
    std::vector<SProfile> profiles;
    if (!ListProfiles(profiles))
        return false;
    entries.clear();
    for (const SProfile& profile : profiles)
        entries.push_back(profile.strId);
    return true;
}

bool CNmDialUpService::Dial(const std::string& strEntry) {
    m_strLastError.clear();
    std::vector<SProfile> profiles;
    if (!ListProfiles(profiles))
        return false;
    const auto it = std::find_if(profiles.begin(), profiles.end(),
                                 [&](const SProfile& p) { return p.strId == strEntry; });
    if (it == profiles.end()) {
        m_strLastError = "no connection profile is named '" + strEntry + "'";
        return false;
    }

    // NetworkManager picks the device itself ("/" for the device and the specific object).
    const QDBusObjectPath root(QStringLiteral("/"));
    const QDBusMessage reply =
        Call(kManagerPath, kManagerIface, QStringLiteral("ActivateConnection"),
             {QVariant::fromValue(QDBusObjectPath(it->strPath)), QVariant::fromValue(root),
              QVariant::fromValue(root)},
             m_callTimeout);
    if (!IsReply(reply) || reply.arguments().isEmpty()) {
        // Unanswered in time: the request may still have started the connection, which must
        // not stay half-open. (The caller dials only an entry that was not connected.)
        const QString strError = reply.errorName();
        if (strError == QStringLiteral("org.freedesktop.DBus.Error.NoReply") ||
            strError == QStringLiteral("org.freedesktop.DBus.Error.Timeout"))
            DeactivateProfile(it->strPath);
        return false;
    }
    const QString strActive = qvariant_cast<QDBusObjectPath>(reply.arguments().at(0)).path();
    if (strActive.isEmpty())
        return false;
    if (WaitForActivation(strActive))
        return true;
    m_strLastError = "the connection did not come up";
    // A dial that failed or took too long leaves nothing half-open behind.
    Deactivate(strActive);
    return false;
}

bool CNmDialUpService::WaitForActivation(const QString& strActive) {
    // The thread blocks as a dial always has: short state queries and sleeps, no event loop
    // that could run the program's timers in the middle of a dial.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + m_dialTimeout;
    for (;;) {
        const auto remaining =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (remaining.count() <= 0)
            return false;
        QVariant state;
        // The connection is gone (failed and removed) or NetworkManager went away.
        if (!GetProperty(strActive, kActiveIface, QStringLiteral("State"), state,
                         std::min(m_callTimeout, remaining)))
            return false;
        const uint nState = state.toUInt();
        if (nState == kStateActivated)
            return true;
        if (nState == kStateDeactivating || nState == kStateDeactivated)
            return false;
        std::this_thread::sleep_for(std::min(kPollInterval, remaining));
    }
}

void CNmDialUpService::Deactivate(const QString& strActive) {
    Call(kManagerPath, kManagerIface, QStringLiteral("DeactivateConnection"),
         {QVariant::fromValue(QDBusObjectPath(strActive))}, m_callTimeout);
}

void CNmDialUpService::DeactivateProfile(const QString& strProfile) {
    std::vector<SActive> active;
    if (!ListActive(active))
        return;
    for (const SActive& entry : active) {
        if (entry.strProfile == strProfile)
            Deactivate(entry.strPath);
    }
}

} // namespace tarnwick
