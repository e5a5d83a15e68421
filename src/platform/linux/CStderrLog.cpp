#include "platform/linux/CStderrLog.h"

#include <cstdio>
#include <ctime>

namespace tarnwick {

namespace {
const char* LevelName(LogLevel level) {
    switch (level) {
    case LogLevel::Error:
        return "error";
    case LogLevel::Warning:
        return "warning";
    case LogLevel::Notice:
        return "notice";
    case LogLevel::Info:
        return "info";
    case LogLevel::Debug:
        return "debug";
    }
    return "?";
}
} // namespace

void CStderrLog::Write(LogLevel level, const std::string& strStep, const std::string& strText) {
    if (level > m_maxLevel)
        return;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char szTime[32] = "";
    std::strftime(szTime, sizeof szTime, "%Y-%m-%d %H:%M:%S", &local);
    std::fprintf(stderr, "%s tarnwick[%s] %s: %s\n", szTime, LevelName(level), strStep.c_str(),
                 strText.c_str());
    std::fflush(stderr);
}

} // namespace tarnwick
