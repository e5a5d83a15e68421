#pragma once

#include "platform/IProcessList.h"

namespace tarnwick {

// The processes from /proc: each one's executable file name from its exe link, or from the
// first word of its command line where the link cannot be read. The instance lock is an
// flock on "<own file name>.lock" in /run/lock (in /tmp where that folder is missing),
// shared by every user of the machine.
class CProcFsProcessList : public IProcessList {
public:
    // strArgv0: the program's first command-line argument, the name of last resort.
    // strLockDir: where the lock file lives; empty for the machine's own lock folder.
    explicit CProcFsProcessList(std::string strArgv0, std::string strProcRoot = "/proc",
                                std::string strLockDir = std::string());
    ~CProcFsProcessList() override;
    CProcFsProcessList(const CProcFsProcessList&) = delete;
    CProcFsProcessList& operator=(const CProcFsProcessList&) = delete;

    bool Snapshot(std::vector<SProcessEntry>& processes) override;
    unsigned GetCurrentProcessId() override;
    std::string GetOwnExePath() override;
    std::string GetOwnExeName() override;
    EInstanceLock LockInstance(unsigned& nHolderPid, std::string& strDetail) override;

    // The lock file of a program with this file name.
    std::string LockPath(const std::string& strExeName) const;

private:
    unsigned FindLockHolder(int fd) const;

    std::string m_strArgv0;
    std::string m_strProcRoot;
    std::string m_strLockDir;
    int m_fdLock = -1;
};

} // namespace tarnwick
