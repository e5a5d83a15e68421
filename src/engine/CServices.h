#pragma once

namespace tarnwick {

class IProfileStore;
class ITimerService;
class IDialUpService;
class IModuleLoader;
class IPowerService;
class INetService;
class IFileTimes;
class IProcessList;
class IClock;
class IAutorunStore;
class IShellTray;
class IUserInterface;
class ILog;
class IStateStore;

// The operating-system services the program runs on, passed in by whoever builds the
// program: the Linux backends in the product, fakes in the tests.
struct CServices {
    IProfileStore& profile;
    ITimerService& timers;
    IDialUpService& dialUp;
    IModuleLoader& modules;
    IPowerService& power;
    INetService& net;
    IFileTimes& files;
    IProcessList& processes;
    IClock& clock;
    IAutorunStore& autorun;
    IShellTray& shell;
    IUserInterface& ui;
    ILog& log;
    IStateStore& state;
};

} // namespace tarnwick
