#pragma once

#include "platform/IFileTimes.h"

namespace tarnwick {

// The watched file's last-write time. The file is opened without sharing, so that the open
// fails while another program holds it open (and is still writing it): such a file is
// skipped, not taken for a stalled one. Only files on a disk are opened: a device name such
// as COM1 would seize the modem's port.
class CWinFileTimes : public IFileTimes {
public:
    bool GetLastWriteTime(const std::string& strPath, std::uint64_t& ftLastWrite) override;
};

} // namespace tarnwick
