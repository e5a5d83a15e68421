#include "ui/qt/CQtTimerService.h"

#include <algorithm>

namespace tarnwick {

bool CQtTimerService::SetTimer(unsigned nIDEvent, std::uint32_t nElapseMs) {
    std::unique_ptr<QTimer>& pTimer = m_timers[nIDEvent];
    if (!pTimer) {
        pTimer = std::make_unique<QTimer>();
        pTimer->setTimerType(Qt::PreciseTimer);
        QObject::connect(pTimer.get(), &QTimer::timeout, [this, nIDEvent] {
            if (m_pHandler != nullptr)
                m_pHandler->OnTimer(nIDEvent);
        });
    }
    pTimer->start(static_cast<int>(std::min(nElapseMs, kMaxTimerPeriodMs)));
    return pTimer->isActive();
}

void CQtTimerService::KillTimer(unsigned nIDEvent) {
    const auto it = m_timers.find(nIDEvent);
    if (it != m_timers.end())
        it->second->stop();
}

} // namespace tarnwick
