#include "platform/CRasManager.h"

#include "platform/IDialUpService.h"
#include "platform/TextUtil.h"

namespace tarnwick {

CRasManager::CRasManager(IDialUpService& service) : m_service(service) {}

bool CRasManager::IsConnected(const std::string& strName) {
    const std::string strLower = MbLower(strName);
    std::vector<SActiveConnection> connections;
    if (!m_service.EnumConnections(connections))
        return false;
    bool bResult = false;
    for (const SActiveConnection& connection : connections) {
        m_strEntry = connection.strEntryName;
        if (strLower.empty() || strLower == MbLower(connection.strEntryName)) {
            if (m_service.GetConnectStatus(connection))
                bResult = true;
        }
    }
    return bResult;
}

bool CRasManager::Dial(const std::string& strName) {
    const std::string strLower = MbLower(strName);
    if (IsConnected(strLower))
        return true;
    // The stored dialling parameters are found by name, without regard to case.
    std::vector<std::string> entries;
    if (!m_service.EnumEntries(entries))
        return false;
    for (const std::string& strEntry : entries) {
        if (MbLower(strEntry) == strLower)
            return m_service.Dial(strEntry);
    }
    return false;
}

bool CRasManager::HangUp(const std::string& strName) {
    const std::string strLower = MbLower(strName);
    std::vector<SActiveConnection> connections;
    if (!m_service.EnumConnections(connections))
        return false;
    bool bResult = false;
    for (const SActiveConnection& connection : connections) {
        if (strLower.empty() || strLower == MbLower(connection.strEntryName)) {
            if (m_service.HangUp(connection))
                bResult = true;
        }
    }
    return bResult;
}

std::vector<std::string> CRasManager::EnumEntryNames() {
    std::vector<std::string> entries;
    if (!m_service.EnumEntries(entries))
        entries.clear();
    return entries;
}

std::string CRasManager::EnumEntries() {
    std::string strJoined;
    bool bFirst = true;
    for (const std::string& strEntry : EnumEntryNames()) {
        if (!bFirst)
            strJoined += '|';
        strJoined += strEntry;
        bFirst = false;
    }
    return strJoined;
}

} // namespace tarnwick
