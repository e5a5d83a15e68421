#pragma once

#include <string>
#include <vector>

namespace tarnwick {

struct SProcessEntry {
    unsigned nProcessId;
    std::string strExeFile; // the executable's file name, without its folder
    bool bOwnUser = true;   // runs as the same user as this process
};

// What came of taking the lock that makes one running instance per machine.
enum class EInstanceLock {
    Taken,       // this process holds it until it ends
    HeldByOther, // another process holds it
    Unavailable, // no lock could be made; the process list has to decide
};

// The processes of the system.
class IProcessList {
public:
    virtual ~IProcessList() = default;
    // False when the processes cannot be listed.
    virtual bool Snapshot(std::vector<SProcessEntry>& processes) = 0;
    virtual unsigned GetCurrentProcessId() = 0;
    // The program's own executable: its full path, and the name of the file.
    virtual std::string GetOwnExePath() = 0;
    virtual std::string GetOwnExeName() = 0;
    // Takes the machine-wide lock named after the program's own file name; the kernel
    // releases it when the process ends, however it ends. nHolderPid: the process holding
    // it when another does (0 when that cannot be found out); strDetail: the lock's file, or
    // why there is none.
    virtual EInstanceLock LockInstance(unsigned& nHolderPid, std::string& strDetail) = 0;
};

} // namespace tarnwick
