#include "CFakeTimerService.h"

namespace tarnwick {

std::uint32_t CFakeTimerService::Period(unsigned nID) const {
    const auto it = m_timers.find(nID);
    return it == m_timers.end() ? 0 : it->second.nPeriod;
}

std::int64_t CFakeTimerService::DueIn(unsigned nID) const {
    const auto it = m_timers.find(nID);
    return it == m_timers.end() ? -1 : static_cast<std::int64_t>(it->second.nDue - m_nNow);
}

void CFakeTimerService::Advance(std::uint64_t nMs) {
    const std::uint64_t nEnd = m_nNow + nMs;
    for (;;) {
        auto next = m_timers.end();
        for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
            if (next == m_timers.end() || it->second.nDue < next->second.nDue ||
                (it->second.nDue == next->second.nDue && it->second.nArmSeq < next->second.nArmSeq))
                next = it;
        }
        if (next == m_timers.end() || next->second.nDue > nEnd)
            break;
        m_nNow = next->second.nDue;
        // A repeating timer: due again one period on, unless the handler re-arms or kills it.
        next->second.nDue = m_nNow + (next->second.nPeriod == 0 ? 1 : next->second.nPeriod);
        if (m_pHandler != nullptr)
            m_pHandler->OnTimer(next->first);
    }
    m_nNow = nEnd;
}

} // namespace tarnwick
