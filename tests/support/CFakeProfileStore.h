#pragma once

#include "app/IProfileStore.h"

#include <map>
#include <string>
#include <utility>

// A profile in memory. Values are kept as text, as a file would keep them; committed
// values are what a restart would read.
class CFakeProfileStore : public IProfileStore {
public:
    std::int32_t GetProfileInt(const std::string& strSection, const std::string& strEntry,
                               std::int32_t nDefault) override;
    std::string GetProfileString(const std::string& strSection, const std::string& strEntry,
                                 const std::string& strDefault) override;
    bool WriteProfileInt(const std::string& strSection, const std::string& strEntry,
                         std::int32_t nValue) override;
    bool WriteProfileString(const std::string& strSection, const std::string& strEntry,
                            const std::string& strValue) override;
    bool Commit() override;

    bool Has(const std::string& strSection, const std::string& strEntry) const {
        return m_committed.count({strSection, strEntry}) != 0;
    }
    std::string Value(const std::string& strSection, const std::string& strEntry) const {
        const auto it = m_committed.find({strSection, strEntry});
        return it == m_committed.end() ? std::string() : it->second;
    }
    void Set(const std::string& strSection, const std::string& strEntry, std::string strValue) {
        m_committed[{strSection, strEntry}] = m_pending[{strSection, strEntry}] =
            std::move(strValue);
    }

    bool m_bCommitFails = false;
    int m_nCommits = 0;

private:
    using Key = std::pair<std::string, std::string>;
    std::map<Key, std::string> m_committed;
    std::map<Key, std::string> m_pending;
};
