// The POSIX backends against the real kernel: sockets on loopback, file times and leases,
// the process list.
#include "CLoopbackListener.h"

#include "platform/linux/CLinuxFileTimes.h"
#include "platform/linux/CPosixNetService.h"
#include "platform/linux/CProcFsProcessList.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

TEST(PosixNetTest, ConnectsToAListenerAndFailsOnAClosedPort) {
    CPosixNetService net(2000);
    std::uint32_t nAddr = 0;
    ASSERT_TRUE(net.InetAddr("127.0.0.1", nAddr));
    std::uint16_t nClosed = 0;
    {
        CLoopbackListener listener;
        EXPECT_TRUE(net.Connect(nAddr, listener.Port()));
        nClosed = listener.Port();
    }
    EXPECT_FALSE(net.Connect(nAddr, nClosed));
    EXPECT_FALSE(net.InetAddr("not.an.address", nAddr));
    EXPECT_TRUE(net.ResolveIPv4("localhost", nAddr));
    EXPECT_EQ(nAddr, htonl(INADDR_LOOPBACK));
}

class FileTimesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char szTemplate[] = "/tmp/tarnwick-files-XXXXXX";
        m_dir = mkdtemp(szTemplate);
        m_file = m_dir / "feed.log";
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
    fs::path m_file;
    CLinuxFileTimes m_times;
};

TEST_F(FileTimesTest, TimeChangesWithEachWriteAndMissingFileIsUnreadable) {
    std::uint64_t ft = 0;
    EXPECT_FALSE(m_times.GetLastWriteTime(m_file, ft));
    EXPECT_FALSE(m_times.GetLastWriteTime("", ft));
    int fd = open(m_file.c_str(), O_CREAT | O_WRONLY, 0644);
    close(fd);
    ASSERT_TRUE(m_times.GetLastWriteTime(m_file, ft));
    EXPECT_NE(ft, 0u);
    timespec times[2] = {{0, UTIME_OMIT}, {12345, 678}};
    utimensat(AT_FDCWD, m_file.c_str(), times, 0);
    std::uint64_t ft2 = 0;
    ASSERT_TRUE(m_times.GetLastWriteTime(m_file, ft2));
    EXPECT_EQ(ft2, 12345ull * 1000000000ull + 678ull);
}

TEST_F(FileTimesTest, FileHeldOpenForWritingIsSkippedUntilReleased) {
    const int fd = open(m_file.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    std::uint64_t ft = 0;
    EXPECT_FALSE(m_times.GetLastWriteTime(m_file, ft));
    close(fd);
    EXPECT_TRUE(m_times.GetLastWriteTime(m_file, ft));
    // A reader elsewhere does not hide the file.
    const int fdRead = open(m_file.c_str(), O_RDONLY);
    EXPECT_TRUE(m_times.GetLastWriteTime(m_file, ft));
    close(fdRead);
}

TEST(ProcFsTest, FindsTheTestProcessByItsFileName) {
    CProcFsProcessList processes("/some/where/app_tests");
    std::vector<SProcessEntry> snapshot;
    ASSERT_TRUE(processes.Snapshot(snapshot));
    const std::string strOwn = fs::path(processes.GetOwnExePath()).filename();
    bool bFound = false;
    for (const SProcessEntry& entry : snapshot)
        bFound |= entry.nProcessId == processes.GetCurrentProcessId() && entry.strExeFile == strOwn;
    EXPECT_TRUE(bFound);
    EXPECT_EQ(processes.GetOwnExeName(), "app_tests");
    CProcFsProcessList missing("x", "/nonexistent-proc");
    EXPECT_FALSE(missing.Snapshot(snapshot));
}

} // namespace

} // namespace tarnwick
