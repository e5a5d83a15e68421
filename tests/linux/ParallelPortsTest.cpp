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
class CFakePortHardware : public IPortHardware {
public:
    int Open(const std::string& strDevice) override {
        log.push_back("open " + strDevice);
        if (devices.count(strDevice) == 0)
            return -1;
        m_names[m_nNextFd] = strDevice.substr(strDevice.rfind('/') + 1);
        return m_nNextFd++;
    }
    void Close(int fd) override { log.push_back("close " + m_names[fd]); }
    bool Claim(int fd) override {
        log.push_back("claim " + m_names[fd]);
        return bClaim;
    }
    void Release(int fd) override { log.push_back("release " + m_names[fd]); }
    bool Read(int fd, bool bControl, unsigned char& nValue) override {
        log.push_back("read " + m_names[fd] + (bControl ? " control" : " data"));
        nValue = registers[m_names[fd] + (bControl ? ".control" : ".data")];
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
    std::map<std::string, unsigned char> registers;
    bool bClaim = true;
    bool bRawPermitted = false;
    std::vector<std::string> log;

private:
    int m_nNextFd = 3;
    std::map<int, std::string> m_names;
};

class ParallelPortsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_tree.isValid());
        // LPT1 and LPT2 as the kernel shows them (base, then the ECP base or -1).
        AddPort("parport0", "888\t1912\n");
        AddPort("parport1", "632\t-1\n");
        QDir(m_tree.path()).mkpath("proc/default");
        m_hardware.devices = {Dev("parport0"), Dev("parport1")};
    }
    void AddPort(const std::string& strName, const std::string& strBaseAddr) {
        const QString strDir = m_tree.path() + "/proc/" + QString::fromStdString(strName);
        QDir().mkpath(strDir);
        QFile file(strDir + "/base-addr");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(strBaseAddr.c_str());
    }
    std::string Proc() const { return (m_tree.path() + "/proc").toStdString(); }
    std::string Dev(const std::string& strName) const {
        return (m_tree.path() + "/dev/").toStdString() + strName;
    }

    QTemporaryDir m_tree;
    CFakePortHardware m_hardware;
};

struct SMapping {
    unsigned short nPort;
    const char* pszAccess; // what a write of 7 does
};

void PrintTo(const SMapping& mapping, std::ostream* pOut) {
    *pOut << "port " << mapping.nPort;
}

class ParallelPortsMappingTest : public ParallelPortsTest,
                                 public testing::WithParamInterface<SMapping> {};

TEST_P(ParallelPortsMappingTest, AddressPicksPortAndRegister) {
    CParallelPorts ports(Proc(), (m_tree.path() + "/dev").toStdString(), m_hardware);
    ports.Out32(GetParam().nPort, 7);
    std::string strAccess = "none";
    for (const std::string& strLine : m_hardware.log) {
        if (strLine.rfind("write ", 0) == 0 || strLine.rfind("outb ", 0) == 0)
            strAccess = strLine;
    }
    EXPECT_EQ(strAccess, GetParam().pszAccess);
}

INSTANTIATE_TEST_SUITE_P(Addresses, ParallelPortsMappingTest,
                         testing::Values(SMapping{0x378, "write parport0 data 7"},
                                         SMapping{0x37A, "write parport0 control 7"},
                                         SMapping{0x278, "write parport1 data 7"},
                                         SMapping{0x27A, "write parport1 control 7"},
                                         // The status register and ports not present.
                                         SMapping{0x379, "none"}, SMapping{0x3BC, "none"},
                                         SMapping{0x3BE, "none"}, SMapping{0, "none"}),
                         [](const testing::TestParamInfo<SMapping>& param) {
                             return "Port" + std::to_string(param.param.nPort);
                         });

TEST_F(ParallelPortsTest, EveryAccessClaimsAndReleasesTheOnceOpenedDevice) {
    m_hardware.registers["parport0.control"] = 0xCC;
    {
        CParallelPorts ports(Proc(), (m_tree.path() + "/dev").toStdString(), m_hardware);
        EXPECT_EQ(ports.In32(0x37A), 0xCC);
        ports.Out32(0x37A, 0x1C8); // registers are 8 bits wide
    }
    EXPECT_EQ(m_hardware.log,
              (std::vector<std::string>{"open " + Dev("parport0"), "claim parport0",
                                        "read parport0 control", "release parport0",
                                        "claim parport0", "write parport0 control 200",
                                        "release parport0", "close parport0"}));
}

// When ppdev cannot serve an address, raw port I/O does if the process may use it.
struct SFallback {
    const char* pszName;
    bool bProcTree; // the parport driver is loaded
    bool bDevices;  // ppdev's device nodes exist
    bool bClaim;    // the port can be claimed
    bool bRawPermitted;
    unsigned short nExpected; // what In32(0x37A) gives
};

void PrintTo(const SFallback& fallback, std::ostream* pOut) {
    *pOut << fallback.pszName;
}

class ParallelPortsFallbackTest : public ParallelPortsTest,
                                  public testing::WithParamInterface<SFallback> {};

TEST_P(ParallelPortsFallbackTest, ReadGoesWhereItCan) {
    const SFallback& f = GetParam();
    if (!f.bDevices)
        m_hardware.devices.clear();
    m_hardware.bClaim = f.bClaim;
    m_hardware.bRawPermitted = f.bRawPermitted;
    m_hardware.registers["parport0.control"] = 0x0C;
    CParallelPorts ports(f.bProcTree ? Proc() : (m_tree.path() + "/absent").toStdString(),
                         (m_tree.path() + "/dev").toStdString(), m_hardware);
    EXPECT_EQ(ports.In32(0x37A), f.nExpected);
    ports.Out32(0x37A, 0x104);
    const bool bRawWrite = !m_hardware.log.empty() && m_hardware.log.back() == "outb 890 4";
    EXPECT_EQ(bRawWrite, f.nExpected == 0x5A) << "a raw write exactly where a raw read went";
    if (f.nExpected == 0) {
        for (const std::string& strLine : m_hardware.log)
            EXPECT_TRUE(strLine.rfind("write", 0) != 0 && strLine.rfind("outb", 0) != 0) << strLine;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ParallelPortsFallbackTest,
    testing::Values(SFallback{"Ppdev", true, true, true, true, 0x0C},
                    SFallback{"NoDeviceNodesRaw", true, false, true, true, 0x5A},
                    SFallback{"NoDeviceNodesUnprivileged", true, false, true, false, 0},
                    SFallback{"UnclaimableRaw", true, true, false, true, 0x5A},
                    SFallback{"NoParallelPortRaw", false, false, true, true, 0x5A},
                    SFallback{"NoParallelPortUnprivileged", false, false, true, false, 0}),
    [](const testing::TestParamInfo<SFallback>& param) { return param.param.pszName; });

TEST_F(ParallelPortsTest, UnreadableBaseAddressIsNoPort) {
    AddPort("parport2", "");
    AddPort("parport3", "0x3bc\n");
    m_hardware.devices.insert(Dev("parport2"));
    m_hardware.devices.insert(Dev("parport3"));
    CParallelPorts ports(Proc(), (m_tree.path() + "/dev").toStdString(), m_hardware);
    EXPECT_EQ(ports.In32(0x3BC), 0);
    EXPECT_TRUE(m_hardware.log.empty());
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
