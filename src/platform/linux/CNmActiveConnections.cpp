#include "platform/linux/CNmActiveConnections.h"

#include "platform/ILog.h"
#include "platform/linux/NmDBus.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QVariantMap>

#include <set>

namespace tarnwick {

using namespace nm;

namespace {
const QString kPropertiesChanged = QStringLiteral("PropertiesChanged");

std::string Minutes(std::chrono::milliseconds period) {
    return std::to_string(std::chrono::duration_cast<std::chrono::minutes>(period).count()) +
           " min";
}

std::set<QString> AsSet(const QStringList& paths) {
    return {paths.begin(), paths.end()};
}
} // namespace

CNmActiveConnections::CNmActiveConnections(ILog& log, std::chrono::milliseconds trustPeriod)
    : m_log(log), m_trustPeriod(trustPeriod) {}

void CNmActiveConnections::Log(LogLevel level, const std::string& strText) {
    m_log.Write(level, "check", strText);
}

bool CNmActiveConnections::Follow(QDBusConnection bus) {
    Forget();
    // Filtered by the bus daemon on the interface (the first argument): the many property
    // changes of devices and access points never wake the program.
    m_bFollowing =
        bus.connect(kService, kManagerPath, kPropertiesIface, kPropertiesChanged, {kManagerIface},
                    QString(), this, SLOT(OnPropertiesChanged(QDBusMessage))) &&
        bus.connect(kService, QString(), kPropertiesIface, kPropertiesChanged, {kActiveIface},
                    QString(), this, SLOT(OnPropertiesChanged(QDBusMessage))) &&
        bus.connect(kService, QString(), kActiveIface, QStringLiteral("StateChanged"), this,
                    SLOT(OnStateChanged(QDBusMessage)));
    if (m_bFollowing)
        Log(LogLevel::Debug,
            "NetworkManager's active connections are followed from its signals; a check "
            "reads them from memory, and by calls when they are older than " +
                Minutes(m_trustPeriod));
    else
        Log(LogLevel::Warning, "cannot follow NetworkManager's active connections (" +
                                   bus.lastError().message().toStdString() +
                                   "); every check reads them by calls");
    return m_bFollowing;
}

void CNmActiveConnections::Forget() {
    m_bListKnown = false;
    m_paths.clear();
    m_infos.clear();
}

bool CNmActiveConnections::Trusted(Clock::time_point read) const {
    return m_bFollowing && Clock::now() - read < m_trustPeriod;
}

bool CNmActiveConnections::Listed(QStringList& paths) const {
    if (!m_bListKnown || !Trusted(m_listRead))
        return false;
    paths = m_paths;
    return true;
}

void CNmActiveConnections::SetList(const QStringList& paths) {
    m_paths = paths;
    const std::set<QString> listed = AsSet(paths);
    std::erase_if(m_infos, [&](const auto& entry) { return !listed.contains(entry.first); });
}

void CNmActiveConnections::SetListRead(const QStringList& paths) {
    // A list known but no longer trusted is the periodic look behind the signals' back.
    if (m_bListKnown && m_bFollowing && !Trusted(m_listRead) && AsSet(paths) != AsSet(m_paths))
        Log(LogLevel::Notice,
            "NetworkManager's active connections differ from what its signals told (" +
                QString::number(m_paths.size()).toStdString() + " known, " +
                QString::number(paths.size()).toStdString() + " read); the read ones hold");
    SetList(paths);
    m_bListKnown = true;
    m_listRead = Clock::now();
}

void CNmActiveConnections::SetRead(const QString& strPath, SInfo info) {
    info.stateRead = Clock::now();
    m_infos[strPath] = std::move(info);
}

void CNmActiveConnections::SetStateRead(const QString& strPath, unsigned nState) {
    const auto it = m_infos.find(strPath);
    if (it == m_infos.end())
        return;
    if (m_bFollowing && !Trusted(it->second.stateRead) && it->second.nState != nState)
        Log(LogLevel::Notice, "the state of " + it->second.strId.toStdString() +
                                  " differs from what "
                                  "NetworkManager's signals told (" +
                                  std::to_string(it->second.nState) + " known, " +
                                  std::to_string(nState) + " read); the read one holds");
    it->second.nState = nState;
    it->second.stateRead = Clock::now();
}

bool CNmActiveConnections::State(const QString& strPath, unsigned& nState) const {
    const auto it = m_infos.find(strPath);
    if (it == m_infos.end() || !Trusted(it->second.stateRead))
        return false;
    nState = it->second.nState;
    return true;
}

const CNmActiveConnections::SInfo* CNmActiveConnections::Find(const QString& strPath) const {
    const auto it = m_infos.find(strPath);
    return it == m_infos.end() ? nullptr : &it->second;
}

void CNmActiveConnections::OnPropertiesChanged(const QDBusMessage& message) {
    const QVariantMap changed = qdbus_cast<QVariantMap>(message.arguments().value(1));
    const QString strInterface = message.arguments().value(0).toString();
    if (strInterface == kManagerIface && message.path() == kManagerPath) {
        const auto it = changed.find(QStringLiteral("ActiveConnections"));
        if (it == changed.end() || !m_bListKnown)
            return; // not read yet: the next check reads it by a call
        QStringList paths;
        for (const QDBusObjectPath& path : qdbus_cast<QList<QDBusObjectPath>>(*it))
            paths.push_back(path.path());
        SetList(paths);
    } else if (strInterface == kActiveIface) {
        const auto it = changed.find(QStringLiteral("State"));
        const auto info = m_infos.find(message.path());
        if (it != changed.end() && info != m_infos.end())
            info->second.nState = it->toUInt();
    }
}

void CNmActiveConnections::OnStateChanged(const QDBusMessage& message) {
    const auto info = m_infos.find(message.path());
    if (info != m_infos.end() && !message.arguments().isEmpty())
        info->second.nState = message.arguments().at(0).toUInt();
}

} // namespace tarnwick
