#pragma once

#include "platform/IFileTimes.h"

namespace tarnwick {

// The watched file's modification time from stat. A file that another program holds open
// for writing is reported as unreadable for the moment: a read lease cannot be taken on it.
// Only a regular file is opened for that; a device, FIFO or socket is judged by stat alone.
class CLinuxFileTimes : public IFileTimes {
public:
    bool GetLastWriteTime(const std::string& strPath, std::uint64_t& ftLastWrite) override;
    // The times are nanoseconds since 1970.
    std::int64_t ToUnixTime(std::uint64_t ftLastWrite) const override {
        return static_cast<std::int64_t>(ftLastWrite / 1000000000u);
    }
    std::string LastError() const override { return m_strLastError; }

private:
    std::string m_strLastError;
};

} // namespace tarnwick
