#include "platform/FindOtherInstance.h"

#include "platform/IProcessList.h"
#include "platform/TextUtil.h"

#include <vector>

namespace tarnwick {

unsigned FindOtherInstance(IProcessList& processes) {
    const std::string strOwn = MbLower(processes.GetOwnExeName());
    const unsigned nOwnPid = processes.GetCurrentProcessId();
    std::vector<SProcessEntry> snapshot;
    if (!processes.Snapshot(snapshot))
        return 0;
    for (const SProcessEntry& entry : snapshot) {
        if (entry.nProcessId != nOwnPid && MbLower(entry.strExeFile) == strOwn)
            return entry.nProcessId;
    }
    return 0;
}

} // namespace tarnwick
