// The real port module's mapping of port addresses onto parallel ports and its fallbacks,
// with a fake /proc tree and fake hardware: no port is touched.
#include "CParallelPorts.h"
#include "IPortHardware.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <dlfcn.h>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {
// Devices are named by their file name; the log holds every access.
class CFakePortHardware : public IPortHardware {
public:
    int Open(const std::string& strDevice) override {
        const std::string strName = strDevice.substr(strDevice.rfind('/') + 1);
        log.push_back("open " + strName);
        if (devices.count(strName) == 0)
            return -1;
        m_names.push_back(strName);
        return static_cast<int>(m_names.size()) - 1;
    }
    void Close(int fd) override { log.push_back("close " + m_names[fd]); }
    bool Claim(int fd) override {
        log.push_back("claim " + m_names[fd]);
        return bClaim;
    }
    void Release(int fd) override { log.push_back("release " + m_names[fd]); }
    bool Read(int fd, bool bControl, unsigned char& nValue) override {
        log.push_back("read " + m_names[fd] + (bControl ? " control" : " data"));
        nValue = bControl ? 0x0C : 0x0D;
        return true;
    }
    bool Write(int fd, bool bControl, unsigned char nValue) override {
        log.push_back("write " + m_names[fd] + (bControl ? " control " : " data ") +
                      std::to_string(nValue));
        return true;
    }
    bool RawPermit(unsigned short) override { return bRawPermitted; }
    unsigned char RawIn(unsigned short nPort) override {
        log.push_back("inb " + std::to_string(nPort));
        return 0x5A;
    }
    void RawOut(unsigned short nPort, unsigned char nValue) override {
        log.push_back("outb " + std::to_string(nPort) + " " + std::to_string(nValue));
    }

    std::set<std::string> devices;
    bool bClaim = true;
    bool bRawPermitted = false;
    std::vector<std::string> log;

private:
    std::vector<std::string> m_names;
};

class ParallelPortsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_tree.isValid());
        // LPT1 and LPT2 as the kernel shows them (base, then the ECP base or -1), and two
        // ports whose base address cannot be read.
        for (const auto& [pszName, pszBaseAddr] :
             std::vector<std::pair<const char*, const char*>>{{"parport0", "888\t1912\n"},
                                                              {"parport1", "632\t-1\n"},
                                                              {"parport2", ""},
                                                              {"parport3", "0x3bc\n"}}) {
            QDir(m_tree.path()).mkpath(QStringLiteral("proc/%1").arg(pszName));
            QFile file(m_tree.path() + "/proc/" + pszName + "/base-addr");
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(pszBaseAddr);
            m_hardware.devices.insert(pszName);
        }
        QDir(m_tree.path()).mkpath("proc/default");
    }
    CParallelPorts Ports(const char* pszProc = "/proc") {
        return CParallelPorts((m_tree.path() + pszProc).toStdString(),
                              (m_tree.path() + "/dev").toStdString(), m_hardware);
    }

    QTemporaryDir m_tree;
    CFakePortHardware m_hardware;
};

TEST_F(ParallelPortsTest, AddressPicksPortAndRegister) {
    const std::map<unsigned short, std::string> expected = {
        {0x378, "write parport0 data 7"},
        {0x37A, "write parport0 control 7"},
        {0x278, "write parport1 data 7"},
        {0x27A, "write parport1 control 7"},
        // The status register, ports not present or unreadable.
        {0x379, "none"},
        {0x3BC, "none"},
        {0x3BE, "none"},
        {0, "none"}};
    for (const auto& [nPort, strAccess] : expected) {
        m_hardware.log.clear();
        Ports().Out32(nPort, 7);
        std::string strWrite = "none";
        for (const std::string& strLine : m_hardware.log) {
            if (strLine.rfind("write ", 0) == 0 || strLine.rfind("outb ", 0) == 0)
                strWrite = strLine;
        }
        EXPECT_EQ(strWrite, strAccess) << "port " << nPort;
    }
}

TEST_F(ParallelPortsTest, EveryAccessClaimsAndReleasesTheOnceOpenedDevice) {
    {
        CParallelPorts ports = Ports();
        EXPECT_EQ(ports.In32(0x37A), 0x0C);
        ports.Out32(0x37A, 0x1C8); // registers are 8 bits wide
    }
    EXPECT_EQ(m_hardware.log,
              (std::vector<std::string>{"open parport0", "claim parport0", "read parport0 control",
                                        "release parport0", "claim parport0",
                                        "write parport0 control 200", "release parport0",
                                        "close parport0"}));
}

// When ppdev cannot serve an address, raw port I/O does if the process may use it; else a
// read gives 0 and a write does nothing.
TEST_F(ParallelPortsTest, AccessGoesWhereItCan) {
    struct SWay {
        const char* pszName;
        bool bProcTree; // the parport driver is loaded
        bool bDevices;  // ppdev's device nodes exist
        bool bClaim;    // the port can be claimed
        bool bRawPermitted;
        unsigned short nExpected; // what In32(0x37A) gives
        const char* pszLastAccess;
    };
    for (const SWay& way :
         {SWay{"ppdev", true, true, true, true, 0x0C, "write parport0 control 4"},
          SWay{"no device nodes", true, false, true, true, 0x5A, "outb 890 4"},
          SWay{"unclaimable", true, true, false, true, 0x5A, "outb 890 4"},
          SWay{"no parallel port", false, false, true, true, 0x5A, "outb 890 4"},
          SWay{"no device nodes, unprivileged", true, false, true, false, 0, ""},
          SWay{"no parallel port, unprivileged", false, false, true, false, 0, ""}}) {
        m_hardware.log.clear();
        m_hardware.devices =
            way.bDevices ? std::set<std::string>{"parport0"} : std::set<std::string>{};
        m_hardware.bClaim = way.bClaim;
        m_hardware.bRawPermitted = way.bRawPermitted;
        CParallelPorts ports = Ports(way.bProcTree ? "/proc" : "/absent");
        EXPECT_EQ(ports.In32(0x37A), way.nExpected) << way.pszName;
        ports.Out32(0x37A, 0x104);
        std::string strLast;
        for (const std::string& strLine : m_hardware.log) {
            if (strLine.rfind("open", 0) != 0 && strLine.rfind("claim", 0) != 0 &&
                strLine.rfind("release", 0) != 0)
                strLast = strLine;
        }
        EXPECT_EQ(strLast, way.pszLastAccess) << way.pszName;
    }
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
