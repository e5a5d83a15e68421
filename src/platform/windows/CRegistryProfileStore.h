#pragma once

#include "platform/IProfileStore.h"

#include <string>

namespace tarnwick {

// The profile in the registry: HKEY_CURRENT_USER\<strKey>\<section>, integers as REG_DWORD,
// texts as REG_SZ. A value of the other type reads as absent, so its field keeps its value.
class CRegistryProfileStore : public IProfileStore {
public:
    // The product's key; tests pass a key of their own.
    static constexpr const char* kDefaultKey = "Software\\Tarnwick\\Tarnwick";
    explicit CRegistryProfileStore(std::string strKey = kDefaultKey);

    std::int32_t ReadProfileInt(const std::string& strSection, const std::string& strEntry,
                                std::int32_t nDefault) override;
    std::string ReadProfileString(const std::string& strSection, const std::string& strEntry,
                                  const std::string& strDefault) override;
    bool StoreProfileInt(const std::string& strSection, const std::string& strEntry,
                         std::int32_t nValue) override;
    bool StoreProfileString(const std::string& strSection, const std::string& strEntry,
                            const std::string& strValue) override;
    // The registry writes each value at once; false when any write since the last commit
    // failed.
    bool Commit() override;

    // The last error text of a failed write, for the log.
    std::string LastError() const override { return m_strLastError; }
    // Each value is read on its own, and one that cannot be read keeps its field's value:
    // there is no whole file that could be unreadable or half-read.
    EProfileLoad GetLoadState() const override { return EProfileLoad::Clean; }

private:
    bool WriteValue(const std::string& strSection, const std::string& strEntry,
                    unsigned long dwType, const void* pData, unsigned long cbData);

    std::string m_strKey;
    bool m_bWriteFailed = false;
    std::string m_strLastError;
};

} // namespace tarnwick
