#pragma once

#include "app/IProfileStore.h"

#include <string>

typedef struct _GKeyFile GKeyFile;

namespace tarnwick {

// The profile as an INI file (GLib's key file): one group per section, integers in decimal,
// texts as text. Writes collect in memory; Commit replaces the file atomically, mode 0600.
class CKeyFileProfileStore : public IProfileStore {
public:
    // Reads the file if it exists; a missing or unreadable file is an empty profile.
    explicit CKeyFileProfileStore(std::string strPath);
    ~CKeyFileProfileStore() override;
    CKeyFileProfileStore(const CKeyFileProfileStore&) = delete;
    CKeyFileProfileStore& operator=(const CKeyFileProfileStore&) = delete;

    // $XDG_CONFIG_HOME/Tarnwick/Tarnwick.conf, with ~/.config when the variable is unset or
    // not an absolute path.
    static std::string DefaultPath();

    std::int32_t ReadProfileInt(const std::string& strSection, const std::string& strEntry,
                                std::int32_t nDefault) override;
    std::string ReadProfileString(const std::string& strSection, const std::string& strEntry,
                                  const std::string& strDefault) override;
    bool StoreProfileInt(const std::string& strSection, const std::string& strEntry,
                         std::int32_t nValue) override;
    bool StoreProfileString(const std::string& strSection, const std::string& strEntry,
                            const std::string& strValue) override;
    bool Commit() override;
    // Reads the file again; a missing or unreadable file keeps what was read before.
    bool Reload() override;

    const std::string& GetPath() const { return m_strPath; }

private:
    std::string m_strPath;
    GKeyFile* m_pKeyFile;
};

} // namespace tarnwick
