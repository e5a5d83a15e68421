#pragma once

#include "IPortHardware.h"

#include <set>

namespace tarnwick {

// The machine's own parallel ports: ppdev ioctls, and inb/outb after ioperm where the
// architecture has port I/O and the process the privilege.
class CLinuxPortHardware : public IPortHardware {
public:
    int Open(const std::string& strDevice) override;
    void Close(int fd) override;
    bool Claim(int fd) override;
    void Release(int fd) override;
    bool Read(int fd, bool bControl, unsigned char& nValue) override;
    bool Write(int fd, bool bControl, unsigned char nValue) override;
    bool RawPermit(unsigned short nPort) override;
    unsigned char RawIn(unsigned short nPort) override;
    void RawOut(unsigned short nPort, unsigned char nValue) override;

private:
    std::set<unsigned short> m_permitted;
};

} // namespace tarnwick
