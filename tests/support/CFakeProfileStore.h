#pragma once

#include "platform/IProfileStore.h"

#include <charconv>
#include <map>
#include <string>
#include <utility>

namespace tarnwick {

// A profile in memory, values kept as text as a file keeps them. Writes count once
// committed, as a restart would read them.
class CFakeProfileStore : public IProfileStore {
public:
    std::int32_t ReadProfileInt(const std::string& strSection, const std::string& strEntry,
                                std::int32_t nDefault) override {
        const std::string strText = ReadProfileString(strSection, strEntry, std::string());
        std::int32_t nValue = 0;
        const char* pEnd = strText.data() + strText.size();
        const auto [pStop, ec] = std::from_chars(strText.data(), pEnd, nValue);
        return ec == std::errc() && pStop == pEnd ? nValue : nDefault;
    }
    std::string ReadProfileString(const std::string& strSection, const std::string& strEntry,
                                  const std::string& strDefault) override {
        const auto it = m_committed.find({strSection, strEntry});
        return it == m_committed.end() ? strDefault : it->second;
    }
    bool StoreProfileInt(const std::string& strSection, const std::string& strEntry,
                         std::int32_t nValue) override {
        return StoreProfileString(strSection, strEntry, std::to_string(nValue));
    }
    bool StoreProfileString(const std::string& strSection, const std::string& strEntry,
                            const std::string& strValue) override {
        m_pending[{strSection, strEntry}] = strValue;
        return true;
    }
    bool Commit() override {
        m_committed = m_pending;
        ++m_nCommits;
        return true;
    }

    EProfileLoad GetLoadState() const override { return EProfileLoad::Clean; }
    bool Reload() override { return m_bReadable; }

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

    int m_nCommits = 0;
    bool m_bReadable = true;

private:
    using Key = std::pair<std::string, std::string>;
    std::map<Key, std::string> m_committed;
    std::map<Key, std::string> m_pending;
};

} // namespace tarnwick
