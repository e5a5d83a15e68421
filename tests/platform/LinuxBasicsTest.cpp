// The POSIX backends against the real kernel: sockets on loopback, file times and leases,
// the process list.
#include "CLoopbackListener.h"

#include "platform/linux/CLinuxFileTimes.h"
#include "platform/linux/CPosixNetService.h"
#include "platform/linux/CProcFsProcessList.h"
#include "platform/linux/CStatusFile.h"
#include "platform/linux/CXdgStateStore.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {

// Both address families; a lookup of a name; a refused port; a quit request (the abort
// descriptor readable) ends a probe before it starts.
TEST(PosixNetTest, ConnectsOverBothFamiliesAndStopsOnAbort) {
    const int fdAbort = eventfd(0, EFD_CLOEXEC);
    ASSERT_GE(fdAbort, 0);
    // A bound that a loaded machine does not reach where an answer comes.
    CPosixNetService net(fdAbort, 20000);
    std::string strDetail;
    CLoopbackListener listener4;
    CLoopbackListener listener6(true);
    const std::uint16_t nClosed = CLoopbackListener().Port();
    const struct {
        const char* pszRow;
        const char* pszHost;
        bool bLookUp;
        std::uint16_t nPort;
        EConnectResult eResult;
    } rows[] = {
        {"IPv4 address", "127.0.0.1", false, listener4.Port(), EConnectResult::Connected},
        {"name looked up", "localhost", true, listener4.Port(), EConnectResult::Connected},
        {"IPv6 address", "::1", false, listener6.Port(),
         listener6.IsListening() ? EConnectResult::Connected : EConnectResult::Unreachable},
        {"no address", "not an address", false, 80, EConnectResult::Unreachable},
        {"closed port", "127.0.0.1", false, nClosed, EConnectResult::Refused},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszRow);
        EXPECT_EQ(net.Connect(row.pszHost, row.bLookUp, row.nPort, strDetail), row.eResult);
    }
    ASSERT_EQ(eventfd_write(fdAbort, 1), 0);
    EXPECT_EQ(net.Connect("127.0.0.1", false, listener4.Port(), strDetail),
              EConnectResult::Aborted);
    close(fdAbort);
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

// The time follows each write; a missing file, and one held open for writing (not one held
// for reading), is skipped.
TEST_F(FileTimesTest, TimeChangesWithEachWriteAndMissingOrHeldFilesAreSkipped) {
    std::uint64_t ft = 0;
    EXPECT_FALSE(m_times.GetLastWriteTime(m_file, ft));
    EXPECT_FALSE(m_times.GetLastWriteTime("", ft));
    const int fd = open(m_file.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(m_times.GetLastWriteTime(m_file, ft));
    close(fd);
    ASSERT_TRUE(m_times.GetLastWriteTime(m_file, ft));
    EXPECT_NE(ft, 0u);
    const int fdRead = open(m_file.c_str(), O_RDONLY);
    timespec times[2] = {{0, UTIME_OMIT}, {12345, 678}};
    utimensat(AT_FDCWD, m_file.c_str(), times, 0);
    ASSERT_TRUE(m_times.GetLastWriteTime(m_file, ft));
    EXPECT_EQ(ft, 12345ull * 1000000000ull + 678ull);
    close(fdRead);
}

// A device node or a FIFO is never opened (opening a terminal hangs up its modem): its time
// comes from stat alone.
TEST_F(FileTimesTest, OnlyRegularFilesAreOpened) {
    const fs::path fifo = m_dir / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const fs::path& path : {fifo, fs::path("/dev/null")}) {
        SCOPED_TRACE(path);
        const int fdWatch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(inotify_add_watch(fdWatch, path.c_str(), IN_OPEN), 0);
        std::uint64_t ft = 0;
        struct stat st {};
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_TRUE(m_times.GetLastWriteTime(path, ft));
        EXPECT_EQ(ft, static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                          static_cast<std::uint64_t>(st.st_mtim.tv_nsec));
        // Only the fifo is ours alone: any process on the machine may open /dev/null.
        char buf[256];
        if (path == fifo) {
            EXPECT_LT(read(fdWatch, buf, sizeof buf), 0) << "the file was opened";
        }
        close(fdWatch);
    }
}

// The state files: folders made as needed, private files, whole lines, the report gone at exit.
TEST_F(FileTimesTest, StateFilesAreMadePrivatelyAndTheReportGoesWithTheProcess) {
    const fs::path status = m_dir / "run" / "tarnwick" / "status";
    std::vector<std::string> lines;
    {
        CXdgStateStore store((m_dir / "state" / "Tarnwick").string(), status.string());
        EXPECT_FALSE(store.ReadLines("outages.jsonl", lines));
        ASSERT_TRUE(store.AppendLine("outages.jsonl", "{\"a\":1}"));
        ASSERT_TRUE(store.AppendLine("outages.jsonl", "{\"a\":2}"));
        ASSERT_TRUE(store.ReadLines("outages.jsonl", lines));
        EXPECT_EQ(lines, (std::vector<std::string>{"{\"a\":1}", "{\"a\":2}"}));
        ASSERT_TRUE(store.WriteLines("reboots", {"1", "2"}));
        ASSERT_TRUE(store.WriteLines("reboots", {"3"}));
        ASSERT_TRUE(store.ReadLines("reboots", lines));
        EXPECT_EQ(lines, std::vector<std::string>{"3"});
        ASSERT_TRUE(store.PublishStatus("outage: none\n"));
        EXPECT_EQ(fs::status(m_dir / "state" / "Tarnwick" / "reboots").permissions(),
                  fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_TRUE(fs::exists(status));
        EXPECT_EQ(std::distance(fs::directory_iterator(m_dir / "state" / "Tarnwick"), {}), 2);
    }
    EXPECT_FALSE(fs::exists(status));
}

// The report trades places with its spare (no new file) and is shortened as needed; a removed
// folder is made again; a reader of a report just replaced keeps its whole text, as the next
// texts soon after go elsewhere; both files go with the object.
TEST_F(FileTimesTest, StatusReportTradesPlacesWithItsSpareAndKeepsReadersWhole) {
    const fs::path path = m_dir / "run" / "tarnwick" / "status";
    auto fnText = [](const fs::path& p) {
        std::ifstream in(p);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    auto fnInode = [](const fs::path& p) {
        struct stat st {};
        return stat(p.c_str(), &st) == 0 ? st.st_ino : 0;
    };
    std::string strError;
    {
        CStatusFile report(path.string(), std::chrono::seconds(0));
        ASSERT_TRUE(report.Write("first, the longer text\n", strError)) << strError;
        const ino_t nSpare = fnInode(report.GetSparePath());
        ASSERT_NE(nSpare, 0u);
        ASSERT_TRUE(report.Write("second\n", strError));
        EXPECT_EQ(fnText(path), "second\n");
        EXPECT_EQ(fnInode(path), nSpare);
        ASSERT_TRUE(report.Write("third\n", strError));
        EXPECT_EQ(fnText(path), "third\n");
        fs::remove_all(path.parent_path());
        ASSERT_TRUE(report.Write("fourth\n", strError)) << strError;
        ASSERT_TRUE(report.Write("fifth\n", strError));
        EXPECT_EQ(fnText(path), "fifth\n");
    }
    EXPECT_TRUE(fs::is_empty(path.parent_path()));
    CStatusFile report(path.string(), std::chrono::hours(1));
    ASSERT_TRUE(report.Write("one\n", strError));
    std::ifstream reader(path);
    ASSERT_TRUE(report.Write("two\n", strError));
    ASSERT_TRUE(report.Write("three, the longest\n", strError));
    std::stringstream text;
    text << reader.rdbuf();
    EXPECT_EQ(text.str(), "one\n");
    EXPECT_EQ(fnText(path), "three, the longest\n");

    // A spare that cannot be opened: every text is still written, and that is told once.
    const fs::path blocked = m_dir / "blocked" / "status";
    CStatusFile without(blocked.string(), std::chrono::seconds(0));
    fs::create_directories(without.GetSparePath());
    ASSERT_TRUE(without.Write("one\n", strError)) << strError;
    EXPECT_NE(without.TakeWarning().find(".status.next: Is a directory"), std::string::npos);
    ASSERT_TRUE(without.Write("two\n", strError)) << strError;
    EXPECT_EQ(fnText(blocked), "two\n");
    EXPECT_EQ(without.TakeWarning(), "");
}

// The own process is listed by the name of the file that runs; one holder of the lock at a
// time, named by its pid; the lock goes with its holder; a planted link is not followed.
TEST(ProcFsTest, OwnProcessIsListedAndTheInstanceLockHasOneHolderAndFollowsNoLink) {
    CProcFsProcessList processes("/some/where/app_tests");
    std::vector<SProcessEntry> snapshot;
    ASSERT_TRUE(processes.Snapshot(snapshot));
    const std::string strOwn = fs::path(processes.GetOwnExePath()).filename();
    bool bFound = false;
    for (const SProcessEntry& entry : snapshot)
        bFound |= entry.nProcessId == processes.GetCurrentProcessId() && entry.strExeFile == strOwn;
    EXPECT_TRUE(bFound);
    EXPECT_EQ(processes.GetOwnExeName(), strOwn); // the file that runs, not argv[0]
    CProcFsProcessList missing("x", "/nonexistent-proc");
    EXPECT_FALSE(missing.Snapshot(snapshot));
    char szTemplate[] = "/tmp/tarnwick-lock-XXXXXX";
    const fs::path dir = mkdtemp(szTemplate);
    unsigned nHolder = 0;
    std::string strDetail;
    {
        CProcFsProcessList first("x", "/proc", dir);
        CProcFsProcessList second("x", "/proc", dir);
        EXPECT_EQ(first.LockInstance(nHolder, strDetail), EInstanceLock::Taken);
        EXPECT_EQ(second.LockInstance(nHolder, strDetail), EInstanceLock::HeldByOther);
        EXPECT_EQ(nHolder, static_cast<unsigned>(getpid()));
    }
    CProcFsProcessList third("x", "/proc", dir);
    EXPECT_EQ(third.LockInstance(nHolder, strDetail), EInstanceLock::Taken);
    CProcFsProcessList planted("x", "/proc", dir / "planted");
    fs::create_directory(dir / "planted");
    fs::create_symlink(dir / "target", planted.LockPath(planted.GetOwnExeName()));
    EXPECT_EQ(planted.LockInstance(nHolder, strDetail), EInstanceLock::Unavailable);
    EXPECT_FALSE(fs::exists(dir / "target"));
    fs::remove_all(dir);
}

} // namespace

} // namespace tarnwick
