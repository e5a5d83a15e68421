#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace tarnwick {

// Turns SIGTERM and SIGINT into a call on the event loop, so that the program leaves through
// its orderly exit (which saves the parameters) when asked to; SIGHUP, as for most daemons,
// asks for the settings to be read again.
class CSignalWatcher : public QObject {
    Q_OBJECT
public:
    CSignalWatcher();
    ~CSignalWatcher() override;

signals:
    void Received(int nSignal);
    void ReloadRequested();

private:
    static void Handler(int nSignal);
    void OnReadable();

    static int s_fds[2];
    std::unique_ptr<QSocketNotifier> m_pNotifier;
};

} // namespace tarnwick
