#pragma once

#include "platform/ILog.h"

namespace tarnwick {

// The log on standard error: one line each, with the local time, the level and the step.
// Lines below the chosen level are left out.
class CStderrLog : public ILog {
public:
    explicit CStderrLog(LogLevel maxLevel = LogLevel::Info) : m_maxLevel(maxLevel) {}
    void Write(LogLevel level, const std::string& strStep, const std::string& strText) override;

private:
    LogLevel m_maxLevel;
};

} // namespace tarnwick
