#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <map>
#include <string>

namespace tarnwick {

class ILog;
enum class LogLevel;

// NetworkManager's active connections as its signals tell them, kept between connection
// checks so that a check needs no bus call. The list follows the manager's ActiveConnections
// property and each connection's state its State property, both from the standard
// PropertiesChanged signal (which NetworkManager and its stand-in send alike; the bus daemon
// passes on only those of these two interfaces), and the state also from the connection's own
// StateChanged signal.
//
// Signals only ever update what a call read. A signal that went missing must not make a dead
// link look up for ever, so the list and a state are answered from memory only for the trust
// period after they were last read by a call; then a call reads them again, and a difference
// from what the signals told is logged.
class CNmActiveConnections : public QObject {
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;

    struct SInfo {
        QString strProfile; // the profile's object path
        QString strId;      // the active connection's own copy of the profile's id
        QString strType;
        unsigned nState = 0;
        Clock::time_point stateRead; // when a call last read the state
    };

    CNmActiveConnections(ILog& log, std::chrono::milliseconds trustPeriod);

    // Asks for the signals on a (new) bus connection and forgets everything; false (logged)
    // when they cannot be had: every answer then comes from calls.
    bool Follow(QDBusConnection bus);
    // Forgets everything (NetworkManager restarted: its objects are new ones).
    void Forget();

    // Forgets the list (not the states): the next use reads it by a call. After a dial or a
    // hang-up, whose signals still wait to be handled when its caller looks again.
    void ForgetList() { m_bListKnown = false; }
    // The list when it is known and was read within the trust period.
    bool Listed(QStringList& paths) const;
    // The list as a call read it just now; connections no longer listed are forgotten.
    void SetListRead(const QStringList& paths);
    // A connection's information and state as a call read them just now.
    void SetRead(const QString& strPath, SInfo info);
    // A connection's state as a call read it just now (ignored for an unknown connection).
    void SetStateRead(const QString& strPath, unsigned nState);
    // The state when it is known and was read within the trust period.
    bool State(const QString& strPath, unsigned& nState) const;
    const SInfo* Find(const QString& strPath) const;

private slots:
    void OnPropertiesChanged(const QDBusMessage& message);
    void OnStateChanged(const QDBusMessage& message);

private:
    bool Trusted(Clock::time_point read) const;
    void SetList(const QStringList& paths);
    void Log(LogLevel level, const std::string& strText);

    ILog& m_log;
    std::chrono::milliseconds m_trustPeriod;
    bool m_bFollowing = false;
    bool m_bListKnown = false;
    Clock::time_point m_listRead;
    QStringList m_paths;              // NetworkManager's order
    std::map<QString, SInfo> m_infos; // by active connection path
};

} // namespace tarnwick
