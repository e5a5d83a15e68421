#pragma once

#include "platform/IProcessList.h"

namespace tarnwick {

// The processes of the system from a Toolhelp snapshot.
class CToolhelpProcessList : public IProcessList {
public:
    // argv[0] as the program was started; its last component is the own file name.
    explicit CToolhelpProcessList(std::string strArgv0);

    bool Snapshot(std::vector<SProcessEntry>& processes) override;
    unsigned GetCurrentProcessId() override;
    std::string GetOwnExePath() override;
    std::string GetOwnExeName() override;

private:
    std::string m_strArgv0;
};

} // namespace tarnwick
