#pragma once

#include "platform/IFileTimes.h"

namespace tarnwick {

// The watched file's modification time from stat. A file that another program holds open
// for writing is reported as unreadable for the moment: a read lease cannot be taken on it.
// Only a regular file is opened for that; a device, FIFO or socket is judged by stat alone.
class CLinuxFileTimes : public IFileTimes {
public:
    bool GetLastWriteTime(const std::string& strPath, std::uint64_t& ftLastWrite) override;
};

} // namespace tarnwick
