#pragma once

#include "engine/ITimerService.h"

#include <QObject>
#include <QTimer>

#include <map>
#include <memory>

namespace tarnwick {

// The frame's timers as QTimers. Precise timers: a coarse one may fire up to 5 % late,
// which is over an hour on a daily shutdown.
class CQtTimerService : public ITimerService {
public:
    CQtTimerService() = default;
    ~CQtTimerService() override = default;
    CQtTimerService(const CQtTimerService&) = delete;
    CQtTimerService& operator=(const CQtTimerService&) = delete;

    void SetHandler(ITimerHandler* pHandler) override { m_pHandler = pHandler; }
    bool SetTimer(unsigned nIDEvent, std::uint32_t nElapseMs) override;
    void KillTimer(unsigned nIDEvent) override;

private:
    ITimerHandler* m_pHandler = nullptr;
    std::map<unsigned, std::unique_ptr<QTimer>> m_timers;
};

} // namespace tarnwick
