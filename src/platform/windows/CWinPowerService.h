#pragma once

#include "platform/IPowerService.h"

namespace tarnwick {

class ILog;

// Reboot and shutdown through ExitWindowsEx, after the process has enabled the shutdown
// privilege in its token. The last call goes through a function pointer, so that a test can
// check the privilege and the flags without ending its Wine prefix (or its machine).
class CWinPowerService : public IPowerService {
public:
    using PFN_EXIT_WINDOWS = int(__stdcall*)(unsigned uFlags, unsigned long dwReason);
    CWinPowerService(ILog& log, PFN_EXIT_WINDOWS pfnExitWindows);

    bool ExitSystem(unsigned uFlags) override;

private:
    bool EnableShutdownPrivilege();

    ILog& m_log;
    PFN_EXIT_WINDOWS m_pfnExitWindows;
};

} // namespace tarnwick
