#include "platform/linux/CNmDialUpService.h"

#include "platform/linux/NmDBus.h"

#include <QDBusObjectPath>

#include <algorithm>
#include <poll.h>
#include <thread>

// The dial and the waits around it: for a hang-up still in progress, and for the new
// connection's outcome.
namespace tarnwick {

using namespace nm;

namespace {
// How often a dial in progress looks at its connection's state.
constexpr std::chrono::milliseconds kPollInterval{200};
} // namespace

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
