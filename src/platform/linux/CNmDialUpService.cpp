#include "platform/linux/CNmDialUpService.h"

#include "platform/ILog.h"
#include "platform/linux/CSystemBus.h"
#include "platform/linux/NmDBus.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QList>
#include <QMap>

#include <algorithm>
#include <cstdio>

namespace tarnwick {

using namespace nm;

namespace {
const QString kSettingsPath = QStringLiteral("/org/freedesktop/NetworkManager/Settings");
const QString kSettingsIface = QStringLiteral("org.freedesktop.NetworkManager.Settings");
const QString kProfileIface = QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");
const QString kLoopbackType = QStringLiteral("loopback");

// The kinds of connection that are a dial-up link to the Internet: mobile broadband (GSM/UMTS/
// LTE and CDMA modems), PPP over Ethernet and ADSL, and a phone dialled over Bluetooth. A LAN,
// Wi-Fi, a VPN (which rides on another link) or a bridge is not.
const QStringList kDialUpTypes = {QStringLiteral("gsm"), QStringLiteral("cdma"),
                                  QStringLiteral("pppoe"), QStringLiteral("adsl"),
                                  QStringLiteral("bluetooth")};

// The most calls left waiting for their replies at once. The bus daemon refuses a connection's
// calls beyond its limit of pending replies (128 by default, on the system bus too) with
// LimitsExceeded, so a long profile list is read in batches below it.
constexpr qsizetype kMaxPendingCalls = 64;

using NMSettings = QMap<QString, QVariantMap>;

QList<QDBusObjectPath> ToPathList(const QVariant& value) {
    return qdbus_cast<QList<QDBusObjectPath>>(value);
}

// An error that says the profile itself is not to be had: deleted since the listing, or not
// this user's to read. Any other error (a limit, a time-out) says nothing about the profile.
bool IsProfileGone(const QDBusMessage& reply) {
    const QString strError = reply.errorName();
    return strError == QStringLiteral("org.freedesktop.DBus.Error.UnknownObject") ||
           strError == QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod") ||
           strError.endsWith(QStringLiteral(".PermissionDenied"));
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

} // namespace

CNmDialUpService::CNmDialUpService(CSystemBus& bus, ILog& log, int fdAbort,
                                   std::chrono::milliseconds dialTimeout,
                                   std::chrono::milliseconds callTimeout,
                                   std::chrono::milliseconds trustPeriod)
    : m_bus(bus), m_log(log), m_fdAbort(fdAbort), m_dialTimeout(dialTimeout),
      m_callTimeout(callTimeout), m_active(log, trustPeriod) {
    qDBusRegisterMetaType<NMSettings>();
    Bus();
}

CNmDialUpService::~CNmDialUpService() = default;

void CNmDialUpService::Log(int nLevel, const std::string& strStep, const std::string& strText) {
    m_log.Write(static_cast<LogLevel>(nLevel), strStep, strText);
}

QDBusConnection CNmDialUpService::Bus() {
    QDBusConnection bus = m_bus.Get();
    if (m_nBusGeneration == m_bus.Generation())
        return bus;
    // A new connection (at start, or the bus came back): what was known may be out of date,
    // and the signals that keep it up to date must be asked for on this connection.
    m_nBusGeneration = m_bus.Generation();
    m_bProfilesKnown = false;
    m_hungUp.clear();
    m_active.Follow(bus);
    // Every profile's object sends Updated; one subscription (any path) covers them all.
    m_bFollowing =
        bus.connect(kService, kSettingsPath, kSettingsIface, QStringLiteral("NewConnection"), this,
                    SLOT(OnNewConnection(QDBusMessage))) &&
        bus.connect(kService, kSettingsPath, kSettingsIface, QStringLiteral("ConnectionRemoved"),
                    this, SLOT(OnConnectionRemoved(QDBusMessage))) &&
        bus.connect(kService, QString(), kProfileIface, QStringLiteral("Updated"), this,
                    SLOT(OnProfileUpdated(QDBusMessage)));
    if (!m_bFollowing)
        Log(4, "dial",
            "cannot follow NetworkManager's profile changes (" +
                bus.lastError().message().toStdString() + "); the profiles are read at every use");
    m_pOwnerWatcher = std::make_unique<QDBusServiceWatcher>(
        kService, bus, QDBusServiceWatcher::WatchForOwnerChange);
    connect(m_pOwnerWatcher.get(), &QDBusServiceWatcher::serviceOwnerChanged, this,
            &CNmDialUpService::OnOwnerChanged);
    return bus;
}

namespace {
QString PathArgument(const QDBusMessage& message) {
    return qvariant_cast<QDBusObjectPath>(message.arguments().value(0)).path();
}
} // namespace

void CNmDialUpService::OnNewConnection(const QDBusMessage& message) {
    const QDBusObjectPath path(PathArgument(message));
    if (!m_bProfilesKnown || path.path().isEmpty())
        return;
    const auto it = std::find_if(m_profiles.begin(), m_profiles.end(),
                                 [&](const SProfile& p) { return p.strPath == path.path(); });
    if (it == m_profiles.end())
        m_profiles.push_back({path.path(), std::string(), true});
}

void CNmDialUpService::OnConnectionRemoved(const QDBusMessage& message) {
    const QDBusObjectPath path(PathArgument(message));
    std::erase_if(m_profiles, [&](const SProfile& p) { return p.strPath == path.path(); });
}

void CNmDialUpService::OnProfileUpdated(const QDBusMessage& message) {
    for (SProfile& profile : m_profiles) {
        if (profile.strPath == message.path())
            profile.bStale = true;
    }
}

void CNmDialUpService::OnOwnerChanged() {
    // NetworkManager restarted (or went away): its objects are new ones.
    Log(6, "dial",
        "NetworkManager changed on the bus; its profiles and active connections are read anew");
    m_bProfilesKnown = false;
    m_active.Forget();
    m_hungUp.clear();
}

QDBusMessage CNmDialUpService::Call(const QString& strPath, const QString& strInterface,
                                    const QString& strMethod, const QVariantList& args,
                                    std::chrono::milliseconds timeout) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, strPath, strInterface, strMethod);
    message.setArguments(args);
    ++m_nCalls;
    // A plain blocking call: no event loop runs while it waits, so no timer can fire.
    const QDBusMessage reply = Bus().call(message, QDBus::Block, ToMs(timeout));
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

std::vector<QDBusMessage> CNmDialUpService::CallEach(const QStringList& paths,
                                                     const QString& strInterface,
                                                     const QString& strMethod,
                                                     const QVariantList& args) {
    // Sent together and collected afterwards, a batch at a time: one round trip's wait per
    // batch instead of one per object, and never more pending than the bus allows.
    const QDBusConnection bus = Bus();
    std::vector<QDBusMessage> replies;
    replies.reserve(static_cast<std::size_t>(paths.size()));
    for (qsizetype nFirst = 0; nFirst < paths.size(); nFirst += kMaxPendingCalls) {
        std::vector<QDBusPendingCall> pending;
        for (const QString& strPath : paths.mid(nFirst, kMaxPendingCalls)) {
            QDBusMessage message =
                QDBusMessage::createMethodCall(kService, strPath, strInterface, strMethod);
            message.setArguments(args);
            ++m_nCalls;
            pending.push_back(bus.asyncCall(message, ToMs(m_callTimeout)));
        }
        for (QDBusPendingCall& call : pending) {
            call.waitForFinished();
            replies.push_back(call.reply());
        }
    }
    return replies;
}

bool CNmDialUpService::ListActive(QStringList& paths, bool bRead) {
    Bus();
    if (bRead || !m_active.Listed(paths)) {
        QVariant list;
        if (!GetProperty(kManagerPath, kManagerIface, QStringLiteral("ActiveConnections"), list,
                         m_callTimeout))
            return false;
        paths.clear();
        for (const QDBusObjectPath& path : ToPathList(list))
            paths.push_back(path.path());
        m_active.SetListRead(paths);
    }
    // Forget hang-ups of connections that are gone; read what is not known of new ones.
    const std::set<QString> listed(paths.begin(), paths.end());
    std::erase_if(m_hungUp, [&](const QString& strPath) { return !listed.contains(strPath); });
    QStringList unknown;
    for (const QString& strPath : paths) {
        if (m_active.Find(strPath) == nullptr)
            unknown.push_back(strPath);
    }
    const std::vector<QDBusMessage> replies =
        CallEach(unknown, kPropertiesIface, QStringLiteral("GetAll"), {kActiveIface});
    for (std::size_t i = 0; i < replies.size(); ++i) {
        // A connection that went away since the listing is simply not known.
        if (!IsReply(replies[i]) || replies[i].arguments().isEmpty())
            continue;
        const QVariantMap properties = qdbus_cast<QVariantMap>(replies[i].arguments().at(0));
        m_active.SetRead(
            unknown[static_cast<qsizetype>(i)],
            {qvariant_cast<QDBusObjectPath>(properties.value(QStringLiteral("Connection"))).path(),
             properties.value(QStringLiteral("Id")).toString(),
             properties.value(QStringLiteral("Type")).toString(),
             properties.value(QStringLiteral("State")).toUInt(),
             {}});
    }
    return true;
}

bool CNmDialUpService::EnumConnections(std::vector<SActiveConnection>& connections) {
    QStringList paths;
    if (!ListActive(paths))
        return false;
    std::vector<SActiveConnection> lan;
    std::vector<SActiveConnection> dialUp;
    for (const QString& strPath : paths) {
        const CNmActiveConnections::SInfo* pInfo = m_active.Find(strPath);
        if (pInfo == nullptr || pInfo->strType == kLoopbackType)
            continue;
        // The entry name is the id of the connection's profile, as the phone book shows it;
        // the active connection's own copy of the id serves until the profiles are read.
        std::string strId = pInfo->strId.toStdString();
        for (const SProfile& profile : m_profiles) {
            if (m_bProfilesKnown && !profile.bStale && profile.strPath == pInfo->strProfile)
                strId = profile.strId;
        }
        const bool bDialUp = kDialUpTypes.contains(pInfo->strType);
        (bDialUp ? dialUp : lan).push_back({strId, strPath.toStdString(), bDialUp});
    }
    // Dial-up connections come last, so that the last one listed (which becomes the current
    // entry) is a dial-up one whenever one is up beside a LAN.
    connections = std::move(lan);
    connections.insert(connections.end(), dialUp.begin(), dialUp.end());
    return true;
}

bool CNmDialUpService::ReadState(const QString& strActive, uint& nState,
                                 std::chrono::milliseconds timeout) {
    QVariant state;
    if (!GetProperty(strActive, kActiveIface, QStringLiteral("State"), state, timeout))
        return false;
    nState = state.toUInt();
    m_active.SetStateRead(strActive, nState);
    return true;
}

bool CNmDialUpService::GetConnectStatus(const SActiveConnection& connection) {
    const QString strPath = QString::fromStdString(connection.strHandle);
    // One we asked to hang up is on its way out, even while NetworkManager still says
    // activated: a dial must not take it for a live connection.
    if (m_hungUp.contains(strPath))
        return false;
    unsigned nState = 0;
    if (!m_active.State(strPath, nState) && !ReadState(strPath, nState, m_callTimeout))
        return false;
    return nState != kStateDeactivating && nState != kStateDeactivated;
}

bool CNmDialUpService::HangUp(const SActiveConnection& connection) {
    const QString strPath = QString::fromStdString(connection.strHandle);
    const QDBusMessage reply =
        Call(kManagerPath, kManagerIface, QStringLiteral("DeactivateConnection"),
             {QVariant::fromValue(QDBusObjectPath(strPath))}, m_callTimeout);
    if (!IsReply(reply)) {
        Log(4, "hangup", "hang-up of " + connection.strEntryName + " failed: " + ErrorOf(reply));
        return false;
    }
    m_hungUp.insert(strPath);
    // Its removal from the list is announced, but not handled before the caller looks again.
    m_active.ForgetList();
    Log(6, "hangup", "hang-up of " + connection.strEntryName + " requested");
    return true;
}

bool CNmDialUpService::ReadAllProfiles() {
    const QDBusMessage list =
        Call(kSettingsPath, kSettingsIface, QStringLiteral("ListConnections"), {}, m_callTimeout);
    if (!IsReply(list) || list.arguments().isEmpty())
        return false;
    m_profiles.clear();
    for (const QDBusObjectPath& path : ToPathList(list.arguments().at(0)))
        m_profiles.push_back({path.path(), std::string(), true});
    m_bProfilesKnown = true;
    return true;
}

bool CNmDialUpService::RefreshProfiles() {
    Bus();
    if ((!m_bProfilesKnown || !m_bFollowing) && !ReadAllProfiles())
        return false;
    QStringList stale;
    for (const SProfile& profile : m_profiles) {
        if (profile.bStale)
            stale.push_back(profile.strPath);
    }
    if (stale.isEmpty())
        return true;
    const std::vector<QDBusMessage> replies =
        CallEach(stale, kProfileIface, QStringLiteral("GetSettings"), {});
    std::set<QString> gone;
    int nUnread = 0;
    for (std::size_t i = 0; i < replies.size(); ++i) {
        const QString& strPath = stale[static_cast<qsizetype>(i)];
        QString strId;
        QString strType;
        // A profile deleted since the listing, one this user may not read, and the
        // loopback profile are left out; one whose reply failed otherwise is asked again
        // at the next use rather than dropped.
        if (!ParseSettings(replies[i], strId, strType)) {
            if (IsProfileGone(replies[i]))
                gone.insert(strPath);
            else
                ++nUnread;
            continue;
        }
        if (strType == kLoopbackType) {
            gone.insert(strPath);
            continue;
        }
        for (SProfile& profile : m_profiles) {
            if (profile.strPath == strPath)
                profile = {strPath, strId.toStdString(), false};
        }
    }
    std::erase_if(m_profiles, [&](const SProfile& p) { return gone.contains(p.strPath); });
    if (nUnread > 0)
        Log(4, "profiles",
            std::to_string(nUnread) + " connection profiles could not be read this time");
    return true;
}

bool CNmDialUpService::EnumEntries(std::vector<std::string>& entries) {
    if (!RefreshProfiles())
        return false;
    entries.clear();
    entries.reserve(m_profiles.size());
    for (const SProfile& profile : m_profiles) {
        // A profile whose settings could not be read yet has no name to show.
        if (!profile.bStale)
            entries.push_back(profile.strId);
    }
    return true;
}

} // namespace tarnwick
