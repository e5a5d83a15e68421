#include "platform/linux/CNmDialUpService.h"

#include "platform/ILog.h"
#include "platform/linux/CSystemBus.h"

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
#include <poll.h>
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

// The kinds of connection that are a dial-up link to the Internet: mobile broadband (GSM/UMTS/
// LTE and CDMA modems), PPP over Ethernet and ADSL, and a phone dialled over Bluetooth. A LAN,
// Wi-Fi, a VPN (which rides on another link) or a bridge is not.
const QStringList kDialUpTypes = {QStringLiteral("gsm"), QStringLiteral("cdma"),
                                  QStringLiteral("pppoe"), QStringLiteral("adsl"),
                                  QStringLiteral("bluetooth")};

// NMActiveConnectionState
constexpr uint kStateActivated = 2;
constexpr uint kStateDeactivating = 3;
constexpr uint kStateDeactivated = 4;

// How often a dial in progress looks at its connection's state.
constexpr std::chrono::milliseconds kPollInterval{200};

// The most calls left waiting for their replies at once. The bus daemon refuses a connection's
// calls beyond its limit of pending replies (128 by default, on the system bus too) with
// LimitsExceeded, so a long profile list is read in batches below it.
constexpr qsizetype kMaxPendingCalls = 64;

using NMSettings = QMap<QString, QVariantMap>;
using Clock = std::chrono::steady_clock;

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

bool IsReply(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ReplyMessage;
}

int ToMs(std::chrono::milliseconds timeout) {
    return static_cast<int>(
        std::clamp<std::chrono::milliseconds::rep>(timeout.count(), 1, 3600000));
}

std::chrono::milliseconds Until(Clock::time_point deadline) {
    return std::max(std::chrono::milliseconds::zero(),
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()));
}

std::string Seconds(Clock::duration duration) {
    char szText[32];
    std::snprintf(szText, sizeof szText, "%.1f s", std::chrono::duration<double>(duration).count());
    return szText;
}

std::string ErrorOf(const QDBusMessage& reply) {
    return reply.errorName().isEmpty()
               ? std::string("no answer")
               : (reply.errorName() + QStringLiteral(": ") + reply.errorMessage()).toStdString();
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

bool CNmDialUpService::Aborted(std::chrono::milliseconds wait) const {
    if (m_fdAbort < 0) {
        std::this_thread::sleep_for(wait);
        return false;
    }
    pollfd fd{m_fdAbort, POLLIN, 0};
    return poll(&fd, 1, wait.count() > 0 ? ToMs(wait) : 0) > 0;
}

bool CNmDialUpService::Dial(const std::string& strEntry) {
    if (Aborted()) {
        Log(4, "dial", "no dial of " + strEntry + ": the program is quitting");
        return false;
    }
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + m_dialTimeout;
    auto find = [&] {
        return std::find_if(m_profiles.begin(), m_profiles.end(),
                            [&](const SProfile& p) { return !p.bStale && p.strId == strEntry; });
    };
    if (!RefreshProfiles()) {
        Log(4, "dial", "dial of " + strEntry + " failed: NetworkManager's profiles unreadable");
        return false;
    }
    // A profile made a moment ago may not have been announced yet: read them all once more.
    if (find() == m_profiles.end() && (!ReadAllProfiles() || !RefreshProfiles()))
        return false;
    const auto it = find();
    if (it == m_profiles.end()) {
        Log(4, "dial", "dial of " + strEntry + " failed: NetworkManager has no such profile");
        return false;
    }
    const QString strProfile = it->strPath;

    // A hang-up still in progress would end the new connection too (or NetworkManager would
    // take it for the old one): wait until it is done.
    if (!WaitForHangUps(strProfile, deadline)) {
        Log(4, "dial",
            "dial of " + strEntry + " not started: " +
                (Aborted() ? "the program is quitting" : "its hang-up did not end in time"));
        return false;
    }

    Log(6, "dial", "dialling " + strEntry);
    // NetworkManager picks the device itself ("/" for the device and the specific object).
    const QDBusObjectPath root(QStringLiteral("/"));
    const QDBusMessage reply =
        Call(kManagerPath, kManagerIface, QStringLiteral("ActivateConnection"),
             {QVariant::fromValue(QDBusObjectPath(strProfile)), QVariant::fromValue(root),
              QVariant::fromValue(root)},
             m_callTimeout);
    m_active.ForgetList();
    const QString strActive = IsReply(reply) && !reply.arguments().isEmpty()
                                  ? qvariant_cast<QDBusObjectPath>(reply.arguments().at(0)).path()
                                  : QString();
    if (strActive.isEmpty()) {
        // Unanswered in time: the request may still have started the connection, which must
        // not stay half-open. (The caller dials only an entry that was not connected.)
        const QString strError = reply.errorName();
        if (strError == QStringLiteral("org.freedesktop.DBus.Error.NoReply") ||
            strError == QStringLiteral("org.freedesktop.DBus.Error.Timeout"))
            DeactivateProfile(strProfile);
        Log(4, "dial",
            "dial of " + strEntry + " failed after " + Seconds(Clock::now() - start) + ": " +
                ErrorOf(reply));
        return false;
    }
    const int nOutcome = WaitForActivation(strActive, deadline);
    if (nOutcome > 0) {
        Log(5, "dial", strEntry + " connected after " + Seconds(Clock::now() - start));
        return true;
    }
    // A dial that failed, took too long or was cut short leaves nothing half-open behind.
    Deactivate(strActive);
    Log(4, "dial",
        "dial of " + strEntry + " " +
            (nOutcome == 0 ? "failed"
             : Aborted()   ? "cut short by the quit request"
                           : "timed out") +
            " after " + Seconds(Clock::now() - start) +
            (nOutcome == 0 ? std::string() : "; the connection was taken down"));
    return false;
}

bool CNmDialUpService::WaitForHangUps(const QString& strProfile, Clock::time_point deadline) {
    for (;;) {
        QStringList paths;
        if (!ListActive(paths, true))
            return true; // the dial itself will report what is wrong
        bool bHangingUp = false;
        for (const QString& strPath : paths) {
            const CNmActiveConnections::SInfo* pInfo = m_active.Find(strPath);
            if (pInfo == nullptr || pInfo->strProfile != strProfile)
                continue;
            uint nState = 0;
            if (ReadState(strPath, nState, std::min(m_callTimeout, Until(deadline))) &&
                nState != kStateDeactivated &&
                (nState == kStateDeactivating || m_hungUp.contains(strPath)))
                bHangingUp = true;
        }
        if (!bHangingUp)
            return true;
        if (Until(deadline).count() <= 0 || Aborted(std::min(kPollInterval, Until(deadline))))
            return false;
    }
}

int CNmDialUpService::WaitForActivation(const QString& strActive, Clock::time_point deadline) {
    // The thread blocks as a dial always has: short state queries and waits on the abort
    // descriptor, no event loop that could run the program's timers in the middle of a dial.
    for (;;) {
        const std::chrono::milliseconds remaining = Until(deadline);
        if (remaining.count() <= 0 || Aborted())
            return -1;
        uint nState = 0;
        // The connection is gone (failed and removed) or NetworkManager went away.
        if (!ReadState(strActive, nState, std::min(m_callTimeout, remaining)))
            return 0;
        if (nState == kStateActivated)
            return 1;
        if (nState == kStateDeactivating || nState == kStateDeactivated)
            return 0;
        if (Aborted(std::min(kPollInterval, remaining)))
            return -1;
    }
}

void CNmDialUpService::Deactivate(const QString& strActive) {
    const QDBusMessage reply =
        Call(kManagerPath, kManagerIface, QStringLiteral("DeactivateConnection"),
             {QVariant::fromValue(QDBusObjectPath(strActive))}, m_callTimeout);
    if (IsReply(reply))
        m_hungUp.insert(strActive);
}

void CNmDialUpService::DeactivateProfile(const QString& strProfile) {
    QStringList paths;
    if (!ListActive(paths, true))
        return;
    for (const QString& strPath : paths) {
        const CNmActiveConnections::SInfo* pInfo = m_active.Find(strPath);
        if (pInfo != nullptr && pInfo->strProfile == strProfile)
            Deactivate(strPath);
    }
}

} // namespace tarnwick
