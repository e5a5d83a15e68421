#pragma once

#include <cstdint>

namespace tarnwick {

class IStateStore;
class IClock;
class ILog;

// The reboots asked for in the last 24 hours, counted across restarts of the program and of
// the machine: one time stamp a line in a small file of the state folder.
class CRebootBudget {
public:
    static constexpr const char* kFile = "reboots";

    CRebootBudget(IStateStore& store, IClock& clock, ILog& log);

    // Reboots recorded in the last 24 hours.
    int CountLastDay() const;
    // True when nMaxPerDay > 0 and that many reboots were asked for in the last 24 hours.
    bool IsSpent(int nMaxPerDay) const;
    // Records a reboot asked for now.
    void Record();

private:
    IStateStore& m_store;
    IClock& m_clock;
    ILog& m_log;
};

} // namespace tarnwick
