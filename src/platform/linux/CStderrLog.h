#pragma once

#include "platform/ILog.h"

namespace tarnwick {

// The log on standard error: one line each, with the local time, the level and the step.
class CStderrLog : public ILog {
public:
    void Write(LogLevel level, const std::string& strStep, const std::string& strText) override;
};

} // namespace tarnwick
