#pragma once

#include <map>
#include <mutex>
#include <string>

namespace tarnwick {

class IPortHardware;

// Port addresses as the program knows them (0x378 data, 0x37A control of LPT1, ...) mapped
// onto the machine's parallel ports. The port whose base address (the first number of
// <proc>/parportN/base-addr) is the address is reached through its data register, the one
// whose base address is the address minus 2 through its control register, each by the
// device <dev>/parportN, claimed around every access. An address no usable device serves
// goes to raw port I/O when the process may use it; otherwise reads give 0 and writes do
// nothing.
class CParallelPorts {
public:
    CParallelPorts(std::string strProcRoot, std::string strDevRoot, IPortHardware& hardware);
    ~CParallelPorts();
    CParallelPorts(const CParallelPorts&) = delete;
    CParallelPorts& operator=(const CParallelPorts&) = delete;

    unsigned short In32(unsigned short nPort);
    void Out32(unsigned short nPort, unsigned short nValue);

private:
    struct SRegister {
        std::string strDevice;
        bool bControl = false;
    };
    bool FindRegister(unsigned short nPort, SRegister& reg) const;
    // The device stays open for the life of the module: the kernel gives every newly
    // opened device the port's initial control value at its first claim, which would
    // glitch the relay's lines at every access.
    int Device(const std::string& strDevice);

    std::string m_strProcRoot;
    std::string m_strDevRoot;
    IPortHardware& m_hardware;
    std::map<std::string, int> m_devices;
    std::mutex m_lock;
};

} // namespace tarnwick
