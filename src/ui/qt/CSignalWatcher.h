#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace tarnwick {

class ILog;

// Turns signals into calls on the event loop. SIGTERM and SIGINT are quit requests: the
// program leaves through its orderly exit (which saves the parameters). SIGHUP asks for the
// settings to be read again. A quit request also makes AbortFd() readable for good, at once,
// from the signal handler: a dial or probe that blocks the event loop watches it and ends.
class CSignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit CSignalWatcher(ILog& log);
    ~CSignalWatcher() override;
    CSignalWatcher(const CSignalWatcher&) = delete;
    CSignalWatcher& operator=(const CSignalWatcher&) = delete;

    // Readable from the first quit request on (-1 when it could not be made).
    int AbortFd() const { return s_abortFds[0]; }
    // A quit request that did not come as a signal ("Exit Tarnwick", the session's end).
    void RequestQuit();
    // True once a quit request has come.
    bool IsQuitRequested() const;

signals:
    void QuitRequested(int nSignal);
    void ReloadRequested();

private:
    static void Handler(int nSignal);
    void OnReadable();

    // The handler reaches these, hence statics: the notifier's pair and the abort pipe.
    static int s_fds[2];
    static int s_abortFds[2];
    ILog& m_log;
    std::unique_ptr<QSocketNotifier> m_pNotifier;
};

} // namespace tarnwick
