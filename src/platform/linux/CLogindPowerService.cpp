#include "platform/linux/CLogindPowerService.h"

CLogindPowerService::CLogindPowerService(const QDBusConnection& bus) : m_bus(bus) {}

bool CLogindPowerService::ExitSystem(unsigned) {
    return false;
}
