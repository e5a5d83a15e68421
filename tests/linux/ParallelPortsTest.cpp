// The real port module's mapping of port addresses onto parallel ports and its fallbacks,
// with a fake /proc tree and fake hardware: no port is touched.
#include "CParallelPorts.h"
#include "IPortHardware.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tarnwick {

namespace {
// Logs every access; a device's handle is its port number.
class CFakePortHardware : public IPortHardware {
public:
    int Open(const std::string& strDevice) override {
        const int nPort = std::stoi(strDevice.substr(strDevice.rfind("parport") + 7));
        return Log("open", nPort) && bDevices ? nPort : -1;
    }
    void Close(int fd) override { Log("close", fd); }
    bool Claim(int fd) override { return Log("claim", fd) && bClaim; }
    void Release(int fd) override { Log("release", fd); }
    bool Read(int fd, bool bControl, unsigned char& nValue) override {
        nValue = bControl ? 0x0C : 0x0D;
        return Log(bControl ? "read control" : "read data", fd);
    }
    bool Write(int fd, bool bControl, unsigned char nValue) override {
        return Log(bControl ? "write control" : "write data", fd, nValue);
    }
    bool RawPermit(unsigned short) override { return bRawPermitted; }
    unsigned char RawIn(unsigned short) override { return 0x5A; }
    void RawOut(unsigned short nPort, unsigned char nValue) override { Log("outb", nPort, nValue); }
    bool Log(const std::string& strWhat, int n, int nValue = -1) {
        log.push_back(strWhat + " " + std::to_string(n) +
                      (nValue >= 0 ? " " + std::to_string(nValue) : ""));
        return true;
    }

    bool bDevices = true;
    bool bClaim = true;
    bool bRawPermitted = false;
    std::vector<std::string> log;
};

class ParallelPortsTest : public testing::Test {
protected:
    void SetUp() override {
        // LPT1 and LPT2 as the kernel shows them (base, then the ECP base or -1), and two
        // ports whose base address cannot be read.
        const std::pair<const char*, const char*> ports[] = {{"parport0", "888\t1912\n"},
                                                             {"parport1", "632\t-1\n"},
                                                             {"parport2", ""},
                                                             {"parport3", "0x3bc\n"}};
        for (const auto& [pszName, pszBaseAddr] : ports) {
            std::filesystem::create_directories(Proc() + pszName);
            std::ofstream(Proc() + pszName + "/base-addr") << pszBaseAddr;
        }
    }
    std::string Proc() const { return m_tree.path().toStdString() + "/proc/"; }
    // The last write to a register through ppdev or raw I/O, or "".
    std::string LastWrite() const {
        std::string strWrite;
        for (const std::string& strLine : m_hardware.log)
            if (strLine.rfind("write", 0) == 0 || strLine.rfind("outb", 0) == 0)
                strWrite = strLine;
        return strWrite;
    }
    CParallelPorts Ports(bool bProcTree = true) {
        return CParallelPorts(bProcTree ? Proc() : Proc() + "absent",
                              m_tree.path().toStdString() + "/dev", m_hardware);
    }

    QTemporaryDir m_tree;
    CFakePortHardware m_hardware;
};

// The address picks port and register through ppdev; where ppdev cannot serve it, raw port
// I/O does if the process may use it; else a read gives 0 and a write does nothing.
TEST_F(ParallelPortsTest, AccessGoesWhereItCan) {
    const struct {
        const char* pszRow;
        unsigned short nPort;
        bool bProcTree, bDevices, bClaim, bRawPermitted; // driver loaded, device nodes, ...
        unsigned short nRead;
        const char* pszWrite; // what a write of 7 does
    } ways[] = {
        {"LPT1 data", 0x378, true, true, true, false, 0x0D, "write data 0 7"},
        {"LPT1 control, raw I/O allowed", 0x37A, true, true, true, true, 0x0C, "write control 0 7"},
        {"LPT2 control", 0x27A, true, true, true, false, 0x0C, "write control 1 7"},
        {"status register", 0x379, true, true, true, false, 0, ""},
        {"port of an unreadable base", 0x3BC, true, true, true, false, 0, ""},
        {"address 0", 0, true, true, true, false, 0, ""},
        {"no device nodes: raw", 0x37A, true, false, true, true, 0x5A, "outb 890 7"},
        {"not claimed: raw", 0x37A, true, true, false, true, 0x5A, "outb 890 7"},
        {"no parallel port driver: raw", 0x37A, false, false, true, true, 0x5A, "outb 890 7"},
        {"no device nodes, no raw I/O", 0x37A, true, false, true, false, 0, ""},
        {"no driver, no raw I/O", 0x37A, false, false, true, false, 0, ""}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.pszRow);
        m_hardware.log.clear();
        m_hardware.bDevices = way.bDevices;
        m_hardware.bClaim = way.bClaim;
        m_hardware.bRawPermitted = way.bRawPermitted;
        CParallelPorts ports = Ports(way.bProcTree);
        EXPECT_EQ(ports.In32(way.nPort), way.nRead);
        ports.Out32(way.nPort, 0x107); // registers are 8 bits wide
        EXPECT_EQ(LastWrite(), way.pszWrite);
    }
}

// An address that is one port's data register and another port's control register (890 is
// LPT1's control register) is the data register, whichever port the folder lists first.
TEST_F(ParallelPortsTest, DataRegisterWinsOverAnotherPortsControlRegister) {
    for (const char* pszName : {"parport4", "parport5"}) {
        SCOPED_TRACE(pszName);
        std::filesystem::create_directories(Proc() + pszName);
        std::ofstream(Proc() + pszName + "/base-addr") << "890\t-1\n";
        m_hardware.log.clear();
        CParallelPorts ports = Ports();
        ports.Out32(890, 7);
        EXPECT_EQ(LastWrite(), std::string("write data ") + (pszName + 7) + " 7");
        std::filesystem::remove_all(Proc() + pszName);
    }
}

TEST_F(ParallelPortsTest, EveryAccessClaimsAndReleasesTheOnceOpenedDevice) {
    {
        CParallelPorts ports = Ports();
        ports.In32(0x37A);
        ports.Out32(0x37A, 0xC8);
    }
    EXPECT_EQ(m_hardware.log,
              (std::vector<std::string>{"open 0", "claim 0", "read control 0", "release 0",
                                        "claim 0", "write control 0 200", "release 0", "close 0"}));
}

TEST(PortModuleTest, ExportsTheTwoEntryPoints) {
    // Only looked up, never called: the module would reach the machine's real ports.
    void* hModule = dlopen(TARNWICK_PPDEV_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(hModule, nullptr) << dlerror();
    EXPECT_NE(dlsym(hModule, "In32"), nullptr);
    EXPECT_NE(dlsym(hModule, "Out32"), nullptr);
    EXPECT_EQ(dlsym(hModule, "_ZN14CParallelPorts4In32Et"), nullptr) << "internals stay hidden";
    dlclose(hModule);
}
} // namespace

} // namespace tarnwick
