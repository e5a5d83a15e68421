#include "CParallelPorts.h"

#include "IPortHardware.h"

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <utility>

namespace tarnwick {

CParallelPorts::CParallelPorts(std::string strProcRoot, std::string strDevRoot,
                               IPortHardware& hardware)
    : m_strProcRoot(std::move(strProcRoot)), m_strDevRoot(std::move(strDevRoot)),
      m_hardware(hardware) {}

CParallelPorts::~CParallelPorts() {
    for (const auto& [strDevice, fd] : m_devices) {
        if (fd >= 0)
            m_hardware.Close(fd);
    }
}

bool CParallelPorts::FindRegister(unsigned short nPort, SRegister& reg) const {
    DIR* pDir = opendir(m_strProcRoot.c_str());
    if (pDir == nullptr)
        return false;
    bool bFound = false;
    while (const dirent* pEntry = readdir(pDir)) {
        const std::string strName = pEntry->d_name;
        if (strName.rfind("parport", 0) != 0)
            continue;
        std::ifstream file(m_strProcRoot + "/" + strName + "/base-addr");
        std::string strFirst;
        if (!(file >> strFirst))
            continue;
        char* pEnd = nullptr;
        const unsigned long nBase = std::strtoul(strFirst.c_str(), &pEnd, 10);
        if (pEnd == strFirst.c_str() || *pEnd != '\0')
            continue;
        if (nBase == nPort || nBase + 2 == nPort) {
            reg.strDevice = m_strDevRoot + "/" + strName;
            reg.bControl = nBase != nPort;
            bFound = true;
            // The data register of one port wins over the control register of another.
            if (!reg.bControl)
                break;
        }
    }
    closedir(pDir);
    return bFound;
}

int CParallelPorts::Device(const std::string& strDevice) {
    const auto it = m_devices.find(strDevice);
    if (it != m_devices.end() && it->second >= 0)
        return it->second;
    const int fd = m_hardware.Open(strDevice);
    if (fd >= 0)
        m_devices[strDevice] = fd;
    return fd;
}

unsigned short CParallelPorts::In32(unsigned short nPort) {
    std::lock_guard<std::mutex> guard(m_lock);
    SRegister reg;
    if (FindRegister(nPort, reg)) {
        const int fd = Device(reg.strDevice);
        if (fd >= 0 && m_hardware.Claim(fd)) {
            unsigned char nValue = 0;
            const bool bRead = m_hardware.Read(fd, reg.bControl, nValue);
            m_hardware.Release(fd);
            if (bRead)
                return nValue;
        }
    }
    return m_hardware.RawPermit(nPort) ? m_hardware.RawIn(nPort) : 0;
}

void CParallelPorts::Out32(unsigned short nPort, unsigned short nValue) {
    std::lock_guard<std::mutex> guard(m_lock);
    // The registers are eight bits wide.
    const auto nByte = static_cast<unsigned char>(nValue & 0xFF);
    SRegister reg;
    if (FindRegister(nPort, reg)) {
        const int fd = Device(reg.strDevice);
        if (fd >= 0 && m_hardware.Claim(fd)) {
            const bool bWritten = m_hardware.Write(fd, reg.bControl, nByte);
            m_hardware.Release(fd);
            if (bWritten)
                return;
        }
    }
    if (m_hardware.RawPermit(nPort))
        m_hardware.RawOut(nPort, nByte);
}

} // namespace tarnwick
