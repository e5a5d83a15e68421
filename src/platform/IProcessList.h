#pragma once

#include <string>
#include <vector>

namespace tarnwick {

struct SProcessEntry {
    unsigned nProcessId;
    std::string strExeFile; // the executable's file name, without its folder
};

// The processes of the system.
class IProcessList {
public:
    virtual ~IProcessList() = default;
    // False when the processes cannot be listed.
    virtual bool Snapshot(std::vector<SProcessEntry>& processes) = 0;
    virtual unsigned GetCurrentProcessId() = 0;
    // The program's own executable: its full path, and the name of the file (argv[0]'s
    // last component).
    virtual std::string GetOwnExePath() = 0;
    virtual std::string GetOwnExeName() = 0;
};

} // namespace tarnwick
