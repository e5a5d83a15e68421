#pragma once

#include "platform/IDialUpService.h"
#include "platform/linux/CNmActiveConnections.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QDBusConnection;
class QDBusServiceWatcher;

namespace tarnwick {

class CSystemBus;
class ILog;

// The dial-up service on NetworkManager over the system bus. The phone book is the list of
// connection profiles (all but the loopback one), named by their id, in NetworkManager's
// order; the connections are its active connections, those of a dial-up kind listed last (so
// that the last one listed, which becomes the current entry, is the modem link whenever one
// is up beside a LAN). Every bus call is bounded by a short
// timeout; a missing, restarting or failing NetworkManager gives false or an empty list.
// Profiles' secrets are never asked for.
//
// What does not change is kept: the profiles are read whole once and then kept up to date
// from NetworkManager's signals (read whole again only when NetworkManager restarts or the
// bus comes back), and an active connection's profile, id and kind are read once per object
// path (NetworkManager never reuses one). The active connections and their states follow
// NetworkManager's signals too (CNmActiveConnections), so a connection check costs no call
// while they are known; calls read them when nothing is known yet, when they are older than
// the trust period, and throughout a dial or hang-up (which must see NetworkManager's state
// of the moment, not what the signals not yet handled would tell).
//
// A dial blocks its caller, as a modem dial always has, but ends at once when the abort
// file descriptor becomes readable (a quit request), taking down what it started.
class CNmDialUpService : public QObject, public IDialUpService {
    Q_OBJECT
public:
    // A real modem dial (dialling, answer, PPP negotiation) fits well into two minutes.
    static constexpr std::chrono::milliseconds kDefaultDialTimeout{120000};
    // Each single bus call; NetworkManager answers its queries in milliseconds.
    static constexpr std::chrono::milliseconds kDefaultCallTimeout{5000};
    // How long what a call read of the active connections answers a check before a call
    // reads it again: the longest a lost signal could hide a change. The bus delivers
    // NetworkManager's signals in order for as long as the connection and the daemon live
    // (both are watched), so this guards against what should never happen; the reading
    // again costs as much CPU as five to thirty checks, hence once an hour.
    static constexpr std::chrono::milliseconds kDefaultTrustPeriod{60 * 60 * 1000};

    // fdAbort: readable once the program is to quit; -1 for none.
    CNmDialUpService(CSystemBus& bus, ILog& log, int fdAbort = -1,
                     std::chrono::milliseconds dialTimeout = kDefaultDialTimeout,
                     std::chrono::milliseconds callTimeout = kDefaultCallTimeout,
                     std::chrono::milliseconds trustPeriod = kDefaultTrustPeriod);
    ~CNmDialUpService() override;

    bool EnumConnections(std::vector<SActiveConnection>& connections) override;
    bool GetConnectStatus(const SActiveConnection& connection) override;
    bool HangUp(const SActiveConnection& connection) override;
    bool EnumEntries(std::vector<std::string>& entries) override;
    bool Dial(const std::string& strEntry) override;
    std::string LastError() const override { return m_strLastError; }

    // The D-Bus calls made so far (for the benches and tests that count them).
    unsigned CallCount() const { return m_nCalls; }

private slots:
    void OnNewConnection(const QDBusMessage& message);
    void OnConnectionRemoved(const QDBusMessage& message);
    void OnProfileUpdated(const QDBusMessage& message);
    void OnOwnerChanged();

private:
    struct SProfile {
        QString strPath;
        std::string strId;
        bool bStale = false; // changed since read: read again before use
    };

    // The bus, subscribing to NetworkManager's signals again when it is a new connection.
    QDBusConnection Bus();
    // The profile list, read whole when it is not known, else only its changed profiles.
    bool RefreshProfiles();
    bool ReadAllProfiles();
    // The active connections' paths, from memory or (bRead, or nothing trusted is known) by
    // a call; the information of new ones is read (together).
    bool ListActive(QStringList& paths, bool bRead = false);
    std::vector<QDBusMessage> CallEach(const QStringList& paths, const QString& strInterface,
                                       const QString& strMethod, const QVariantList& args);
    // The state of an active connection; false when it cannot be read (gone).
    bool ReadState(const QString& strActive, uint& nState, std::chrono::milliseconds timeout);
    // Waits until no connection of the profile is hanging up; false on timeout or abort.
    bool WaitForHangUps(const QString& strProfile, std::chrono::steady_clock::time_point deadline);
    // 1 activated, 0 failed, -1 aborted or timed out.
    int WaitForActivation(const QString& strActive, std::chrono::steady_clock::time_point deadline);
    void Deactivate(const QString& strActive);
    void DeactivateProfile(const QString& strProfile);
    // True when the quit request has come (the abort descriptor is readable); else waits
    // up to the time given for it and says whether it came meanwhile.
    bool Aborted(std::chrono::milliseconds wait = std::chrono::milliseconds::zero()) const;

    QDBusMessage Call(const QString& strPath, const QString& strInterface, const QString& strMethod,
                      const QVariantList& args, std::chrono::milliseconds timeout);
    bool GetProperty(const QString& strPath, const QString& strInterface, const QString& strName,
                     QVariant& value, std::chrono::milliseconds timeout);
    void Log(int nLevel, const std::string& strStep, const std::string& strText);

    CSystemBus& m_bus;
    ILog& m_log;
    int m_fdAbort;
    std::chrono::milliseconds m_dialTimeout;
    std::chrono::milliseconds m_callTimeout;
    unsigned m_nBusGeneration = 0;
    std::unique_ptr<QDBusServiceWatcher> m_pOwnerWatcher;
    unsigned m_nCalls = 0;

    std::vector<SProfile> m_profiles; // NetworkManager's order
    bool m_bProfilesKnown = false;
    bool m_bFollowing = false; // NetworkManager's profile signals reach us
    CNmActiveConnections m_active;
    std::set<QString> m_hungUp; // active connections we asked to hang up
    // Why the last call failed: NetworkManager's error, or what a dial saw.
    std::string m_strLastError;
};

} // namespace tarnwick
