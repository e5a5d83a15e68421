#pragma once

#include "platform/IProfileStore.h"

#include <map>
#include <string>
#include <utility>

// GLib's own declaration of its type, so that this header needs no GLib header.
typedef struct _GKeyFile GKeyFile; // NOLINT(bugprone-reserved-identifier,modernize-use-using)

namespace tarnwick {
class ILog;

// The profile as an INI file: one group per section, integers in decimal (hexadecimal after
// "0x" is read too), texts as text. Reading forgives: every line that holds a value is read,
// and a file that had to be mended is kept as it was, as "<file>.bad". A file that exists but
// cannot be read (no permission, not a regular file) is left alone until the user saves.
// Writes collect in memory (GLib's key file, which keeps comments); Commit replaces the file
// atomically, mode 0600, through a symbolic link if the file is one.
class CKeyFileProfileStore : public IProfileStore {
public:
    // Reads the file if it exists, and removes what an interrupted save left beside it.
    CKeyFileProfileStore(std::string strPath, ILog& log);
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
    EProfileLoad GetLoadState() const override { return m_eLoad; }

    const std::string& GetPath() const { return m_strPath; }

private:
    void Read();
    const std::string* Find(const std::string& strSection, const std::string& strEntry) const;

    std::string m_strPath;
    ILog& m_log;
    GKeyFile* m_pKeyFile;
    std::map<std::pair<std::string, std::string>, std::string> m_values;
    EProfileLoad m_eLoad = EProfileLoad::Clean;
};

} // namespace tarnwick
