#pragma once

#include <string>
#include <vector>

namespace tarnwick {

// Small files that outlive the process (the outage history, the reboot count) and the
// running instance's state for anyone who asks. Names are plain file names; the backend
// decides the folder.
class IStateStore {
public:
    virtual ~IStateStore() = default;
    // The lines of a file; false when it is absent or cannot be read.
    virtual bool ReadLines(const std::string& strName, std::vector<std::string>& lines) = 0;
    // Appends one line in a single write, creating the file; a reader never sees half a line.
    virtual bool AppendLine(const std::string& strName, const std::string& strLine) = 0;
    // Replaces the whole file atomically; no lines remove it.
    virtual bool WriteLines(const std::string& strName, const std::vector<std::string>& lines) = 0;
    // Replaces the running instance's state report atomically.
    virtual bool PublishStatus(const std::string& strText) = 0;
    // Tells this boot of the machine from the others.
    virtual std::string GetBootId() = 0;
    // Why the last call failed, for the log.
    virtual std::string LastError() const = 0;
    // A problem that did not stop a call but should be known (each one is told once), for the
    // log; empty when there is none.
    virtual std::string TakeWarning() { return std::string(); }
};

} // namespace tarnwick
