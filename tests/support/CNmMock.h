#pragma once

#include "MockCalls.h"

namespace tarnwick {

// Scripts python3-dbusmock's NetworkManager stand-in. The stand-in has no activating phase of
// its own (ActivateConnection makes an activated connection at once) and other error names
// than the real service; ScriptActivation adds the phases.
class CNmMock {
public:
    // What a scripted activation ends in.
    enum class EOutcome { Activated, Deactivated, Vanished, StaysActivating, Refused, LateAnswer };

    explicit CNmMock(const QDBusConnection& bus) : m_bus(bus) {}

    // Back to no profiles and connections, and one device (DeactivateConnection needs one).
    bool Reset();
    // A connection profile; returns its object path (empty on failure).
    // Names and methods are views, so a test may give them as plain literals.
    QString AddProfile(QAnyStringView strId, QAnyStringView strType = u"gsm");
    // Activates a profile the way a client would; returns the active connection's path.
    QString Activate(const QString& strProfile);
    // From now on ActivateConnection makes a connection that is activating and, after
    // nDelayMs, reaches the outcome (Refused: the call itself fails; LateAnswer: the call
    // activates at once but answers only after nDelayMs).
    bool ScriptActivation(EOutcome outcome, int nDelayMs = 0);
    // The active connection's state changes without a signal (as if one were lost).
    bool SetStateUnannounced(const QString& strActive, unsigned nState);
    // The profile's GetSettings fails from now on.
    bool BreakProfile(const QString& strProfile);

    // Calls of a method of the Manager object since the last Reset, with their arguments.
    std::vector<QVariantList> ManagerCalls(QAnyStringView strMethod) const {
        return MethodCalls(m_bus, kService, kManagerPath, strMethod.toString());
    }

private:
    QDBusMessage Call(const QString& strPath, const QString& strInterface, const QString& strMethod,
                      const QVariantList& args = {}) const {
        return CallStandIn(m_bus, kService, strPath, strInterface, strMethod, args);
    }
    // A method of the stand-in's mock interface; true when it succeeded.
    bool Mock(const QString& strPath, const QString& strMethod,
              const QVariantList& args = {}) const {
        return Call(strPath, QStringLiteral("org.freedesktop.DBus.Mock"), strMethod, args).type() ==
               QDBusMessage::ReplyMessage;
    }

    inline static const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
    inline static const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
    QDBusConnection m_bus;
};

} // namespace tarnwick
