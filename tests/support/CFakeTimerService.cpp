#include "CFakeTimerService.h"

#include <limits>

void CFakeTimerService::SetTimer(unsigned nIDEvent, std::uint32_t nElapseMs) {
    m_timers[nIDEvent] = {nElapseMs, m_nNow + nElapseMs, ++m_nSeq};
}

std::uint32_t CFakeTimerService::Period(unsigned nID) const {
    const auto it = m_timers.find(nID);
    return it == m_timers.end() ? 0 : it->second.nPeriod;
}

std::int64_t CFakeTimerService::DueIn(unsigned nID) const {
    const auto it = m_timers.find(nID);
    return it == m_timers.end() ? -1 : static_cast<std::int64_t>(it->second.nDue - m_nNow);
}

bool CFakeTimerService::FireNext() {
    if (m_timers.empty())
        return false;
    auto next = m_timers.begin();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->second.nDue < next->second.nDue ||
            (it->second.nDue == next->second.nDue && it->second.nArmSeq < next->second.nArmSeq))
            next = it;
    }
    const unsigned nID = next->first;
    m_nNow = next->second.nDue;
    // A repeating timer: the next expiry is one period on, unless the handler re-arms or
    // kills it.
    next->second.nDue = m_nNow + (next->second.nPeriod == 0 ? 1 : next->second.nPeriod);
    m_fired.emplace_back(m_nNow, nID);
    if (m_pHandler != nullptr)
        m_pHandler->OnTimer(nID);
    return true;
}

void CFakeTimerService::Advance(std::uint64_t nMs) {
    const std::uint64_t nEnd = m_nNow + nMs;
    for (;;) {
        std::uint64_t nNextDue = std::numeric_limits<std::uint64_t>::max();
        for (const auto& [nID, timer] : m_timers)
            nNextDue = std::min(nNextDue, timer.nDue);
        if (nNextDue > nEnd)
            break;
        FireNext();
    }
    m_nNow = nEnd;
}
