#pragma once

#include "platform/IPowerService.h"

#include <QDBusConnection>

#include <chrono>
#include <functional>

namespace tarnwick {

class CSystemBus;

// Reboot and power-off through systemd-logind on the system bus: Reboot(false) for
// EWX::Reboot, PowerOff(false) for EWX::Shutdown, never interactive. Accepted only when logind
// answered without an error; there is no other way to the power switch.
class CLogindPowerService : public IPowerService {
public:
    static constexpr std::chrono::milliseconds kDefaultCallTimeout{5000};

    explicit CLogindPowerService(const QDBusConnection& bus,
                                 std::chrono::milliseconds callTimeout = kDefaultCallTimeout);
    // On a bus that is connected again when it was restarted.
    explicit CLogindPowerService(CSystemBus& bus,
                                 std::chrono::milliseconds callTimeout = kDefaultCallTimeout);
    bool ExitSystem(unsigned uFlags) override;
    std::string LastError() const override { return m_strLastError; }

private:
    std::string m_strLastError;
    std::function<QDBusConnection()> m_fnBus;
    std::chrono::milliseconds m_callTimeout;
};

} // namespace tarnwick
