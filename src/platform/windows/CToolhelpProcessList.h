#pragma once

#include "platform/IProcessList.h"

namespace tarnwick {

// The processes of the system from a Toolhelp snapshot.
class CToolhelpProcessList : public IProcessList {
public:
    // argv[0] as the program was started; its last component is the own file name.
    explicit CToolhelpProcessList(std::string strArgv0);
    ~CToolhelpProcessList() override;
    CToolhelpProcessList(const CToolhelpProcessList&) = delete;
    CToolhelpProcessList& operator=(const CToolhelpProcessList&) = delete;

    bool Snapshot(std::vector<SProcessEntry>& processes) override;
    unsigned GetCurrentProcessId() override;
    std::string GetOwnExePath() override;
    std::string GetOwnExeName() override;
    // A named mutex in the machine's global namespace, named after the own file name; the
    // system closes it when the process ends, however it ends.
    EInstanceLock LockInstance(unsigned& nHolderPid, std::string& strDetail) override;

private:
    std::string m_strArgv0;
    void* m_hInstanceLock = nullptr; // the mutex while this process holds it
};

} // namespace tarnwick
