
namespace tarnwick {
#pragma once

class IProcessList;
class ILog;

// The process id of another running instance, or 0. The machine-wide instance lock decides
// (two copies started in the same instant cannot both see the other and both leave); where
// no lock can be made, another process of the same user whose executable has the program's
// own file name (compared without regard to case) counts.
unsigned FindOtherInstance(IProcessList& processes, ILog& log);

} // namespace tarnwick
