#pragma once

#include "platform/IDialUpService.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <chrono>
#include <string>
#include <vector>

namespace tarnwick {

// The dial-up service on NetworkManager over the system bus. The phone book is the list of
// connection profiles (all but the loopback one), named by their id, in NetworkManager's
// order; the connections are its active connections. Every bus call is bounded by a short
// timeout; a missing, restarting or failing NetworkManager gives false or an empty list.
// Profiles' secrets are never asked for.
class CNmDialUpService : public IDialUpService {
public:
    // A real modem dial (dialling, answer, PPP negotiation) fits well into two minutes.
    static constexpr std::chrono::milliseconds kDefaultDialTimeout{120000};
    // Each single bus call; NetworkManager answers its queries in milliseconds.
    static constexpr std::chrono::milliseconds kDefaultCallTimeout{5000};

    explicit CNmDialUpService(const QDBusConnection& bus,
                              std::chrono::milliseconds dialTimeout = kDefaultDialTimeout,
                              std::chrono::milliseconds callTimeout = kDefaultCallTimeout);

    bool EnumConnections(std::vector<SActiveConnection>& connections) override;
    bool GetConnectStatus(const SActiveConnection& connection) override;
    bool HangUp(const SActiveConnection& connection) override;
    bool EnumEntries(std::vector<std::string>& entries) override;
    bool Dial(const std::string& strEntry) override;
    std::string LastError() const override { return m_strLastError; }

private:
    struct SProfile {
        QString strPath;
        std::string strId;
    };
    struct SActive {
        QString strPath;
        QString strProfile; // the profile's object path
        QString strId;      // the active connection's own copy of the profile's id
    };

    // Every profile but the loopback one, in NetworkManager's order.
    bool ListProfiles(std::vector<SProfile>& profiles);
    // Every active connection but the loopback one, in NetworkManager's order.
    bool ListActive(std::vector<SActive>& active);
    // The settings of each profile, in the same order; error replies for unreadable ones.
    std::vector<QDBusMessage> GetSettingsOf(const QStringList& profiles);
    // Waits until the active connection is up (true) or has failed (false), or the dial
    // timeout has passed (false).
    bool WaitForActivation(const QString& strActive);
    void Deactivate(const QString& strActive);
    void DeactivateProfile(const QString& strProfile);

    QDBusMessage Call(const QString& strPath, const QString& strInterface, const QString& strMethod,
                      const QVariantList& args, std::chrono::milliseconds timeout);
    bool GetProperty(const QString& strPath, const QString& strInterface, const QString& strName,
                     QVariant& value, std::chrono::milliseconds timeout);

    QDBusConnection m_bus;
    std::chrono::milliseconds m_dialTimeout;
    std::chrono::milliseconds m_callTimeout;
    // Why the last call failed: NetworkManager's error, or what a dial saw.
    std::string m_strLastError;
};

} // namespace tarnwick
