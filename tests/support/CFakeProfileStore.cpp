#include "CFakeProfileStore.h"

#include <cerrno>
#include <cstdlib>

std::int32_t CFakeProfileStore::GetProfileInt(const std::string& strSection,
                                              const std::string& strEntry, std::int32_t nDefault) {
    const auto it = m_committed.find({strSection, strEntry});
    if (it == m_committed.end() || it->second.empty())
        return nDefault;
    char* pEnd = nullptr;
    errno = 0;
    const long nValue = std::strtol(it->second.c_str(), &pEnd, 10);
    if (*pEnd != '\0' || errno != 0 || nValue < INT32_MIN || nValue > INT32_MAX)
        return nDefault;
    return static_cast<std::int32_t>(nValue);
}

std::string CFakeProfileStore::GetProfileString(const std::string& strSection,
                                                const std::string& strEntry,
                                                const std::string& strDefault) {
    const auto it = m_committed.find({strSection, strEntry});
    return it == m_committed.end() ? strDefault : it->second;
}

bool CFakeProfileStore::WriteProfileInt(const std::string& strSection, const std::string& strEntry,
                                        std::int32_t nValue) {
    m_pending[{strSection, strEntry}] = std::to_string(nValue);
    return true;
}

bool CFakeProfileStore::WriteProfileString(const std::string& strSection,
                                           const std::string& strEntry,
                                           const std::string& strValue) {
    m_pending[{strSection, strEntry}] = strValue;
    return true;
}

bool CFakeProfileStore::Commit() {
    if (m_bCommitFails) {
        m_pending = m_committed;
        return false;
    }
    m_committed = m_pending;
    ++m_nCommits;
    return true;
}
