#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

// Reads the last-write time of the watched file.
class IFileTimes {
public:
    virtual ~IFileTimes() = default;
    // False when the file cannot be opened or another program holds it open for writing
    // right now; otherwise its last-write time (a nonzero, monotonic-per-write value).
    virtual bool GetLastWriteTime(const std::string& strPath, std::uint64_t& ftLastWrite) = 0;
    // A last-write time as seconds since 1970, or -1 when this service cannot convert it.
    virtual std::int64_t ToUnixTime(std::uint64_t ftLastWrite) const {
        (void)ftLastWrite;
        return -1;
    }
    // Why the last read failed, for the log; empty when the service cannot say.
    virtual std::string LastError() const { return std::string(); }
};

} // namespace tarnwick
