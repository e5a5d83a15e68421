#include "CFakeDialUpService.h"

#include <algorithm>

namespace tarnwick {

CFakeDialUpService::SConnection* CFakeDialUpService::Find(const SActiveConnection& connection) {
    for (SConnection& c : m_connections) {
        if (std::to_string(c.nId) == connection.strHandle)
            return &c;
    }
    return nullptr;
}

bool CFakeDialUpService::EnumConnections(std::vector<SActiveConnection>& connections) {
    if (m_bServiceDown)
        return false;
    connections.clear();
    for (const SConnection& c : m_connections)
        connections.push_back({c.strEntry, std::to_string(c.nId), c.bDialUp});
    return true;
}

bool CFakeDialUpService::GetConnectStatus(const SActiveConnection& connection) {
    const SConnection* pConnection = Find(connection);
    return pConnection != nullptr && pConnection->bStatusOk;
}

bool CFakeDialUpService::HangUp(const SActiveConnection& connection) {
    m_calls.push_back("hangup " + connection.strEntryName);
    const SConnection* pConnection = Find(connection);
    if (pConnection == nullptr)
        return false;
    m_connections.erase(m_connections.begin() + (pConnection - m_connections.data()));
    return true;
}

bool CFakeDialUpService::EnumEntries(std::vector<std::string>& entries) {
    if (m_bServiceDown)
        return false;
    entries = m_entries;
    return true;
}

bool CFakeDialUpService::Dial(const std::string& strEntry) {
    m_calls.push_back("dial " + strEntry);
    if (m_fnDuringDial)
        m_fnDuringDial();
    if (std::find(m_failingEntries.begin(), m_failingEntries.end(), strEntry) !=
        m_failingEntries.end())
        return false;
    Connect(strEntry);
    return true;
}

} // namespace tarnwick
