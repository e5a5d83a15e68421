#pragma once

#include "platform/ILog.h"

namespace tarnwick {

// The log straight into the systemd journal: the level as the line's priority, the
// identifier "tarnwick", and the step and the watched connection as fields of their own
// (TARNWICK_STEP=, TARNWICK_CONNECTION=), so `journalctl --user -t tarnwick
// TARNWICK_STEP=reboot` finds every reboot. Lines below the chosen level are left out.
class CJournalLog : public ILog {
public:
    explicit CJournalLog(LogLevel maxLevel = LogLevel::Info) : m_maxLevel(maxLevel) {}
    void Write(LogLevel level, const std::string& strStep, const std::string& strText) override;
    void SetConnection(const std::string& strConnection) override {
        m_strConnection = strConnection;
    }

    // True when standard error is the journal's own stream (the service manager said so in
    // JOURNAL_STREAM, and the descriptor is still that stream): lines belong in the journal.
    static bool IsStderrJournal();

private:
    LogLevel m_maxLevel;
    std::string m_strConnection;
};

} // namespace tarnwick
