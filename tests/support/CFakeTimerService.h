#pragma once

#include "engine/ITimerService.h"

#include <cstdint>
#include <map>
#include <set>

namespace tarnwick {

// Timers on a virtual clock: Advance() moves time on and fires what falls due, in order.
class CFakeTimerService : public ITimerService {
public:
    void SetHandler(ITimerHandler* pHandler) override { m_pHandler = pHandler; }
    bool SetTimer(unsigned nIDEvent, std::uint32_t nElapseMs) override {
        if (m_refused.count(nIDEvent) != 0)
            return false;
        m_timers[nIDEvent] = {nElapseMs, m_nNow + nElapseMs, ++m_nSeq};
        return true;
    }
    void KillTimer(unsigned nIDEvent) override { m_timers.erase(nIDEvent); }

    // Moves the clock on by nMs, firing every timer that falls due on the way.
    void Advance(std::uint64_t nMs);

    // Timers the system refuses to arm.
    std::set<unsigned> m_refused;

    // Virtual milliseconds since the start.
    std::uint64_t Now() const { return m_nNow; }
    bool IsArmed(unsigned nID) const { return m_timers.count(nID) != 0; }
    // The armed period, or 0.
    std::uint32_t Period(unsigned nID) const;
    // Milliseconds until the timer fires next, or -1 when it is not armed.
    std::int64_t DueIn(unsigned nID) const;

private:
    struct STimer {
        std::uint32_t nPeriod;
        std::uint64_t nDue;
        std::uint64_t nArmSeq; // orders timers due at the same time
    };
    ITimerHandler* m_pHandler = nullptr;
    std::map<unsigned, STimer> m_timers;
    std::uint64_t m_nNow = 0;
    std::uint64_t m_nSeq = 0;
};

} // namespace tarnwick
