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
};

} // namespace tarnwick
