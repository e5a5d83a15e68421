#pragma once

#include "platform/IProcessList.h"

namespace tarnwick {

// The processes from /proc: each one's executable file name from its exe link, or from the
// first word of its command line where the link cannot be read.
class CProcFsProcessList : public IProcessList {
public:
    // strArgv0: the program's first command-line argument.
    explicit CProcFsProcessList(std::string strArgv0, std::string strProcRoot = "/proc");

    bool Snapshot(std::vector<SProcessEntry>& processes) override;
    unsigned GetCurrentProcessId() override;
    std::string GetOwnExePath() override;
    std::string GetOwnExeName() override;

private:
    std::string m_strArgv0;
    std::string m_strProcRoot;
};

} // namespace tarnwick
