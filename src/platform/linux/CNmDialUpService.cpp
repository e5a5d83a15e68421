#include "platform/linux/CNmDialUpService.h"

CNmDialUpService::CNmDialUpService(const QDBusConnection& bus) : m_bus(bus) {}

bool CNmDialUpService::EnumConnections(std::vector<SActiveConnection>&) {
    return false;
}
bool CNmDialUpService::GetConnectStatus(const SActiveConnection&) {
    return false;
}
bool CNmDialUpService::HangUp(const SActiveConnection&) {
    return false;
}
bool CNmDialUpService::EnumEntries(std::vector<std::string>&) {
    return false;
}
bool CNmDialUpService::Dial(const std::string&) {
    return false;
}
