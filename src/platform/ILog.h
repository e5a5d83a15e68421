#pragma once

#include <string>

namespace tarnwick {

// How much a log line matters; the values are syslog's priorities, so a backend can hand them
// to the journal as they are. Debug lines (a passing check, for one) show only when the user
// asks for a verbose log.
enum class LogLevel { Error = 3, Warning = 4, Notice = 5, Info = 6, Debug = 7 };

// Where Tarnwick says what it does. The core says how much a line matters, which step of the
// work it belongs to ("check", "dial", "hangup", "power", "reboot", "shutdown", "settings",
// "autorun", "start", "exit", ...) and what happened, with its cause; the backend decides
// where the line goes.
class ILog {
public:
    virtual ~ILog() = default;
    virtual void Write(LogLevel level, const std::string& strStep, const std::string& strText) = 0;
    // The watched connection, which a backend with structured fields attaches to each line
    // that follows.
    virtual void SetConnection(const std::string& strConnection) { (void)strConnection; }
};

} // namespace tarnwick
