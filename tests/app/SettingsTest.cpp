// The parameters: defaults, loading and saving, and the INI file that holds them.
#include "CFakeServices.h"

#include "app/CTarnwickApp.h"
#include "engine/AppSettings.h"
#include "platform/linux/CKeyFileProfileStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace tarnwick {

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class KeyFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char szTemplate[] = "/tmp/tarnwick-test-XXXXXX";
        m_dir = mkdtemp(szTemplate);
        m_path = m_dir / "Tarnwick" / "Tarnwick.conf";
    }
    void TearDown() override { fs::remove_all(m_dir); }
    void Write(const std::string& strText) {
        fs::create_directories(m_path.parent_path());
        std::ofstream(m_path, std::ios::binary) << strText;
    }
    fs::path m_dir;
    fs::path m_path;
    CFakeLog m_log;
};

// The first save makes a private file; texts and empty values read back as they were; a
// save that cannot write fails.
TEST_F(KeyFileTest, FirstSaveIsPrivateKeepsAwkwardTextsAndAFailedOneSaysSo) {
    AppSettings s;
    s.sDefaultConnection = R"(Work [DSL]; #1 = "fast"\)";
    s.sFileRefresh = " /tmp/with spaces/feed.log ";
    s.iCtrlPort = -1;
    {
        CKeyFileProfileStore store(m_path, m_log);
        ASSERT_TRUE(s.Save(store));
    }
    struct stat st {};
    ASSERT_EQ(stat(m_path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    CKeyFileProfileStore store(m_path, m_log);
    AppSettings t;
    t.sShutdownTime = "changed";
    t.Load(store);
    EXPECT_EQ(t.sDefaultConnection, s.sDefaultConnection);
    EXPECT_EQ(t.sFileRefresh, s.sFileRefresh);
    EXPECT_EQ(t.sShutdownTime, ""); // stored empty, not missing
    EXPECT_EQ(t.iCtrlPort, -1);
    std::ofstream(m_dir / "blocked") << "a file where the folder should be";
    CKeyFileProfileStore blocked(m_dir / "blocked" / "Tarnwick.conf", m_log);
    EXPECT_FALSE(s.Save(blocked));
}

TEST_F(KeyFileTest, HandEditedValuesOfTheWrongTypeLeaveTheirFields) {
    Write("# edited by hand\n[WatchDogging]\niCheckDelay=abc\niMaxFaults=5\n"
          "[LptResetter]\niLptPort=99999999999\niCtrlPortMask=2x\n");
    CKeyFileProfileStore store(m_path, m_log);
    AppSettings s;
    s.Load(store);
    EXPECT_EQ(s.iCheckDelay, 2);
    EXPECT_EQ(s.iMaxFaults, 5);
    EXPECT_EQ(s.iLptPort, 1);
    EXPECT_EQ(s.iCtrlPortMask, 4);
    ASSERT_TRUE(s.Save(store));
    EXPECT_NE(ReadFile(m_path).find("# edited by hand"), std::string::npos);
}

// A file that a strict reader gives up on: every value that can be read is, hexadecimal
// included, and the file as it was is kept beside it.
TEST_F(KeyFileTest, DamagedFileIsReadLineByLineAndKeptAsItWas) {
    const std::string strLpt = "[LptResetter]\niDataPort=632\n";
    const struct {
        const char* pszRow;
        std::string strText;
        bool bDamaged;
    } rows[] = {
        {"byte order mark", "\xEF\xBB\xBF[WatchDogging]\niMaxFaults=5\n" + strLpt, true},
        {"NUL bytes", "[WatchDogging]\niMaxFaults=5\n\0\0"s + strLpt, true},
        {"value before any section", "iMaxFaults=5\n" + strLpt, true},
        {"line without =", "[WatchDogging]\ngarbage\niMaxFaults=5\n; note\n" + strLpt, true},
        {"bracket in a section name", "[Watch[Dogging]\niMaxFaults=5\n" + strLpt, true},
        {"CRLF, hexadecimal, blanks: clean",
         "[LptResetter]\r\niDataPort=0x278\r\n[WatchDogging]\r\niMaxFaults= +5 \r\n", false},
    };
    const std::string strBad = m_path.string() + ".bad";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszRow);
        fs::remove(strBad);
        Write(row.strText);
        CKeyFileProfileStore store(m_path, m_log);
        AppSettings s;
        s.Load(store);
        EXPECT_EQ(store.GetLoadState(),
                  row.bDamaged ? EProfileLoad::Repaired : EProfileLoad::Clean);
        EXPECT_EQ(s.iMaxFaults, 5);
        EXPECT_EQ(s.iDataPort, 632);
        EXPECT_EQ(s.iCtrlPort, 890); // absent: its default
        EXPECT_EQ(fs::exists(strBad) ? ReadFile(strBad) : "", row.bDamaged ? row.strText : "");
    }
}

// A file that cannot be read at all (here a FIFO, which must not block the start) is never
// replaced by defaults at exit, and autorun is left alone; the user's own save keeps it aside.
TEST_F(KeyFileTest, UnreadableFileIsNotSavedOverAtExit) {
    fs::create_directories(m_path.parent_path());
    ASSERT_EQ(mkfifo(m_path.c_str(), 0600), 0);
    CFakeServices fakes;
    CKeyFileProfileStore store(m_path, m_log);
    EXPECT_EQ(store.GetLoadState(), EProfileLoad::Unreadable);
    CServices real{store,       fakes.timers, fakes.dialUp,    fakes.modules, fakes.power,
                   fakes.net,   fakes.files,  fakes.processes, fakes.clock,   fakes.autorun,
                   fakes.shell, fakes.ui,     fakes.log,       fakes.state};
    {
        CTarnwickApp app(real);
        ASSERT_TRUE(app.InitInstance());
        app.ExitInstance();
        EXPECT_TRUE(fakes.autorun.m_calls.empty());
        EXPECT_TRUE(fs::is_fifo(m_path));
        EXPECT_TRUE(app.GetSettings().Save(store)); // as the dialog's OK does
    }
    EXPECT_TRUE(fs::is_fifo(m_path.string() + ".bad"));
    EXPECT_TRUE(fs::is_regular_file(m_path));
}

// Saved through a symbolic link the link stays and its target gets the values; what an
// interrupted save left behind goes at the next start, nothing else.
TEST_F(KeyFileTest, SymlinkIsWrittenThroughAndStaleTemporariesGo) {
    fs::create_directories(m_path.parent_path());
    fs::create_symlink("../real.conf", m_path);
    const fs::path stale = m_dir / "real.conf.Ab12Cd";
    const fs::path fresh = m_dir / "real.conf.Xy34Zw";
    for (const fs::path& p : {stale, fresh})
        std::ofstream(p) << "half";
    const timespec old[2] = {{0, UTIME_OMIT}, {1000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, stale.c_str(), old, 0), 0);
    CKeyFileProfileStore store(m_path, m_log);
    AppSettings s;
    s.iMaxFaults = 9;
    ASSERT_TRUE(s.Save(store));
    EXPECT_TRUE(fs::is_symlink(m_path));
    EXPECT_NE(ReadFile(m_dir / "real.conf").find("iMaxFaults=9"), std::string::npos);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(fresh)); // may be a save in progress
}

TEST(SettingsPathTest, FollowsXdgConfigHome) {
    setenv("XDG_CONFIG_HOME", "/srv/cfg", 1);
    EXPECT_EQ(CKeyFileProfileStore::DefaultPath(), "/srv/cfg/Tarnwick/Tarnwick.conf");
    setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
    setenv("HOME", "/home/modem", 1);
    EXPECT_EQ(CKeyFileProfileStore::DefaultPath(), "/home/modem/.config/Tarnwick/Tarnwick.conf");
}

} // namespace

} // namespace tarnwick
