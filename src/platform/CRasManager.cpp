#include "platform/CRasManager.h"

#include "platform/IDialUpService.h"
#include "platform/TextUtil.h"

#include <utility>

namespace tarnwick {

CRasManager::CRasManager(IDialUpService& service) : m_service(service) {}

bool CRasManager::IsConnected(const std::string& strName) {
    const std::string strLower = MbLower(strName);
    m_bCurrentUp = false;
    std::vector<SActiveConnection> connections;
    if (!m_service.EnumConnections(connections))
        return false;
    bool bResult = false;
    std::vector<std::pair<std::string, bool>> seen; // lower-cased entry, status read
    for (const SActiveConnection& connection : connections) {
        m_strEntry = connection.strEntryName;
        std::string strEntryLower = MbLower(connection.strEntryName);
        if (strLower.empty() || strLower == strEntryLower) {
            const bool bUp = m_service.GetConnectStatus(connection);
            bResult = bResult || bUp;
            seen.emplace_back(std::move(strEntryLower), bUp);
        }
    }
    // With every connection looked at, whether the (new) current entry is up is known too.
    if (strLower.empty() && !connections.empty()) {
        const std::string strCurrent = MbLower(m_strEntry);
        for (const auto& [strEntry, bUp] : seen)
            m_bCurrentUp = m_bCurrentUp || (bUp && strEntry == strCurrent);
    }
    return bResult;
}

bool CRasManager::FindDialUpConnection(std::string& strEntry) {
    std::vector<SActiveConnection> connections;
    if (!m_service.EnumConnections(connections))
        return false;
    bool bFound = false;
    for (const SActiveConnection& connection : connections) {
        if (connection.bDialUp && m_service.GetConnectStatus(connection)) {
            strEntry = connection.strEntryName;
            bFound = true;
        }
    }
    return bFound;
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
