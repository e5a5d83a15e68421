#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <vector>

// Scripts python3-dbusmock's NetworkManager stand-in through its mock interface. The stand-in
// has no activating phase of its own (ActivateConnection makes an activated connection at
// once) and other error names than the real service; ScriptActivation adds the phases.
class CNmMock {
public:
    // NMActiveConnectionState
    enum EState : unsigned {
        Unknown = 0,
        Activating = 1,
        Activated = 2,
        Deactivating = 3,
        Deactivated = 4
    };
    // What a scripted activation ends in.
    enum class EOutcome { Activated, Deactivated, Vanished, StaysActivating, Refused, LateAnswer };

    explicit CNmMock(const QDBusConnection& bus);

    // Back to the template's initial state: no profiles, devices or connections.
    bool Reset();
    // A connection profile; returns its object path (empty on failure).
    QString AddProfile(const QString& strId, const QString& strType = QStringLiteral("gsm"));
    // A device, needed for DeactivateConnection to act.
    QString AddDevice(const QString& strName = QStringLiteral("ttyUSB0"));
    // Activates a profile the way a client would; returns the active connection's path.
    QString Activate(const QString& strProfile);
    bool SetActiveState(const QString& strActive, unsigned nState);
    QStringList ActiveConnections();
    // From now on ActivateConnection makes a connection that is activating and, after
    // nDelayMs, reaches the outcome (Refused: the call itself fails; LateAnswer: the call
    // activates at once but answers only after nDelayMs).
    bool ScriptActivation(EOutcome outcome, int nDelayMs = 0);
    // The profile's GetSettings fails from now on.
    bool BreakProfile(const QString& strProfile);

    // Calls of a method of the Manager object since the last ClearCalls, with their arguments.
    std::vector<QVariantList> ManagerCalls(const QString& strMethod);
    bool ClearCalls();

    QDBusMessage Call(const QString& strPath, const QString& strInterface, const QString& strMethod,
                      const QVariantList& args);

private:
    QDBusConnection m_bus;
};
