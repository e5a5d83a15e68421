#pragma once

#include "platform/IFileTimes.h"

namespace tarnwick {

// The watched file's modification time from stat. A file that another program holds open
// for writing is reported as unreadable for the moment: a read lease cannot be taken on it.
class CLinuxFileTimes : public IFileTimes {
public:
    bool GetLastWriteTime(const std::string& strPath, std::uint64_t& ftLastWrite) override;
};

} // namespace tarnwick
