#include "CLinuxPortHardware.h"

#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define TARNWICK_HAVE_PORT_IO 1
#endif

namespace tarnwick {

int CLinuxPortHardware::Open(const std::string& strDevice) {
    return open(strDevice.c_str(), O_RDWR | O_CLOEXEC);
}

void CLinuxPortHardware::Close(int fd) {
    close(fd);
}

bool CLinuxPortHardware::Claim(int fd) {
    return ioctl(fd, PPCLAIM) == 0;
}

void CLinuxPortHardware::Release(int fd) {
    ioctl(fd, PPRELEASE);
}

bool CLinuxPortHardware::Read(int fd, bool bControl, unsigned char& nValue) {
    return ioctl(fd, bControl ? PPRCONTROL : PPRDATA, &nValue) == 0;
}

bool CLinuxPortHardware::Write(int fd, bool bControl, unsigned char nValue) {
    return ioctl(fd, bControl ? PPWCONTROL : PPWDATA, &nValue) == 0;
}

bool CLinuxPortHardware::RawPermit(unsigned short nPort) {
#ifdef TARNWICK_HAVE_PORT_IO
    if (m_permitted.count(nPort) != 0)
        return true;
    if (ioperm(nPort, 1, 1) != 0)
        return false;
    m_permitted.insert(nPort);
    return true;
#else
    (void)nPort;
    return false;
#endif
}

unsigned char CLinuxPortHardware::RawIn(unsigned short nPort) {
#ifdef TARNWICK_HAVE_PORT_IO
    return inb(nPort);
#else
    (void)nPort;
    return 0;
#endif
}

void CLinuxPortHardware::RawOut(unsigned short nPort, unsigned char nValue) {
#ifdef TARNWICK_HAVE_PORT_IO
    outb(nValue, nPort);
#else
    (void)nPort;
    (void)nValue;
#endif
}

} // namespace tarnwick
