#pragma once

namespace tarnwick {

class IProcessList;

// The process id of another running process whose executable has the program's own file
// name (compared without regard to case), or 0.
unsigned FindOtherInstance(IProcessList& processes);

} // namespace tarnwick
