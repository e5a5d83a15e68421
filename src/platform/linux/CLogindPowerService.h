#pragma once

#include "platform/IPowerService.h"

#include <QDBusConnection>

// Reboot and power-off through systemd-logind on the system bus.
// (Placeholder until the logind backend lands: every request is refused.)
class CLogindPowerService : public IPowerService {
public:
    explicit CLogindPowerService(const QDBusConnection& bus);
    bool ExitSystem(unsigned uFlags) override;

private:
    QDBusConnection m_bus;
};
