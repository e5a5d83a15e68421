#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

// How the stored profile was found when it was read.
enum class EProfileLoad {
    Clean,      // read whole, or there was none yet
    Repaired,   // read, but parts of it could not be; the original is kept beside it
    Unreadable, // it exists but could not be read at all: its values are unknown
};

// The per-user profile: named integer and text values grouped in sections.
class IProfileStore {
public:
    virtual ~IProfileStore() = default;

    // The stored value, or nDefault when it is absent or not an integer.
    virtual std::int32_t ReadProfileInt(const std::string& strSection, const std::string& strEntry,
                                        std::int32_t nDefault) = 0;
    // The stored text, or strDefault when it is absent.
    virtual std::string ReadProfileString(const std::string& strSection,
                                          const std::string& strEntry,
                                          const std::string& strDefault) = 0;
    virtual bool StoreProfileInt(const std::string& strSection, const std::string& strEntry,
                                 std::int32_t nValue) = 0;
    virtual bool StoreProfileString(const std::string& strSection, const std::string& strEntry,
                                    const std::string& strValue) = 0;
    // Makes the writes since the last commit durable, all of them or none.
    virtual bool Commit() = 0;
    // Reads the store afresh, for changes made by someone else; false when it cannot be read,
    // and then the values read before stay. A store that always reads live has nothing to do.
    virtual bool Reload() { return true; }
    // Why the last read or commit failed, for the log; empty when the store cannot say.
    virtual std::string LastError() const { return std::string(); }
    // How the profile was read. An unreadable one must not be written over by values that
    // were never read from it (an exit's save); a user's explicit save still may.
    virtual EProfileLoad GetLoadState() const = 0;
};

} // namespace tarnwick
