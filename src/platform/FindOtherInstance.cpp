#include "platform/FindOtherInstance.h"

#include "platform/ILog.h"
#include "platform/IProcessList.h"
#include "platform/TextUtil.h"

#include <vector>

namespace tarnwick {

namespace {
// The instance that holds the lock cannot be named: any id but 0 and our own says "another".
constexpr unsigned kUnknownInstance = ~0u;
} // namespace

unsigned FindOtherInstance(IProcessList& processes, ILog& log) {
    unsigned nHolder = 0;
    std::string strDetail;
    switch (processes.LockInstance(nHolder, strDetail)) {
    case EInstanceLock::Taken:
        log.Write(LogLevel::Info, "start", "instance lock " + strDetail + " taken");
        return 0;
    case EInstanceLock::HeldByOther:
        log.Write(LogLevel::Notice, "start",
                  "another instance runs: the lock " + strDetail + " is held by " +
                      (nHolder != 0 ? "pid " + std::to_string(nHolder) : "a process") +
                      "; this one leaves");
        return nHolder != 0 ? nHolder : kUnknownInstance;
    case EInstanceLock::Unavailable:
        log.Write(LogLevel::Warning, "start",
                  "no instance lock (" + strDetail + "): going by the list of processes");
        break;
    }

    const std::string strOwn = MbLower(processes.GetOwnExeName());
    const unsigned nOwnPid = processes.GetCurrentProcessId();
    std::vector<SProcessEntry> snapshot;
    if (!processes.Snapshot(snapshot))
        return 0;
    for (const SProcessEntry& entry : snapshot) {
        // Another user's program that merely has the same file name is not ours.
        if (entry.nProcessId != nOwnPid && entry.bOwnUser && MbLower(entry.strExeFile) == strOwn)
            return entry.nProcessId;
    }
    return 0;
}

} // namespace tarnwick
