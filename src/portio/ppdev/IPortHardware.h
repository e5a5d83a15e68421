#pragma once

#include <string>

namespace tarnwick {

// The two ways to a parallel port's registers: the kernel's ppdev devices, and raw port I/O
// for a process that is allowed it. Passed in, so that the choice between them can be
// tested without hardware.
class IPortHardware {
public:
    virtual ~IPortHardware() = default;

    // ppdev: the open device, or -1.
    virtual int Open(const std::string& strDevice) = 0;
    virtual void Close(int fd) = 0;
    virtual bool Claim(int fd) = 0;
    virtual void Release(int fd) = 0;
    // The data register (bControl false) or the control register (true).
    virtual bool Read(int fd, bool bControl, unsigned char& nValue) = 0;
    virtual bool Write(int fd, bool bControl, unsigned char nValue) = 0;

    // Raw port I/O: true when the process may use the port.
    virtual bool RawPermit(unsigned short nPort) = 0;
    virtual unsigned char RawIn(unsigned short nPort) = 0;
    virtual void RawOut(unsigned short nPort, unsigned char nValue) = 0;
};

} // namespace tarnwick
