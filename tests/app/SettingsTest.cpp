// The parameters: defaults, loading and saving, and the INI file that holds them.
#include "CFakeProfileStore.h"

#include "app/AppSettings.h"
#include "platform/linux/CKeyFileProfileStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace tarnwick {

namespace fs = std::filesystem;

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
    fs::path m_dir;
    fs::path m_path;
};

TEST_F(KeyFileTest, FirstSaveWritesEveryDefaultInItsSectionPrivately) {
    CKeyFileProfileStore store(m_path);
    AppSettings s;
    s.Load(store);
    ASSERT_TRUE(s.Save(store));
    EXPECT_EQ(ReadFile(m_path), R"([General]
CurrentTab=0
bAutoRun=0
iAutoRunMethod=0
bAutoShutdown=0
sShutdownTime=

[WatchDogging]
bEnableWatchDogging=1
sDefaultConnection=
bEstablishConnection=1
bCheckConnState=1
bCheckFileRefresh=0
bCheckURLDownload=0
iCheckDelay=2
iMaxFaults=3
sFileRefresh=
sURLDownload=www.debian.org

[LptResetter]
iLptPort=1
iDataPort=888
iCtrlPort=890
iDataPortMask=0
iCtrlPortMask=4
iModemOffTime=3
iModemWaitTime=15
bTryToHangUp=1
bTryToReestablish=1
bMakeSureModemOn=1
)");
    struct stat st {};
    ASSERT_EQ(stat(m_path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(KeyFileTest, RoundTripKeepsAwkwardTextsAndEmptyValues) {
    AppSettings s;
    s.sDefaultConnection = "Work [DSL]; #1 = \"fast\"\\";
    s.sFileRefresh = " /tmp/with spaces/feed.log ";
    s.iCtrlPort = -1;
    {
        CKeyFileProfileStore store(m_path);
        ASSERT_TRUE(s.Save(store));
    }
    CKeyFileProfileStore store(m_path);
    AppSettings t;
    t.sShutdownTime = "changed";
    t.Load(store);
    EXPECT_EQ(t.sDefaultConnection, s.sDefaultConnection);
    EXPECT_EQ(t.sFileRefresh, s.sFileRefresh);
    EXPECT_EQ(t.sShutdownTime, ""); // stored empty, not missing
    EXPECT_EQ(t.iCtrlPort, -1);
}

TEST_F(KeyFileTest, HandEditedValuesOfTheWrongTypeLeaveTheirFields) {
    fs::create_directories(m_path.parent_path());
    std::ofstream(m_path) << "# edited by hand\n[WatchDogging]\niCheckDelay=abc\niMaxFaults=5\n"
                             "[LptResetter]\niLptPort=99999999999\niCtrlPortMask=2x\n";
    CKeyFileProfileStore store(m_path);
    AppSettings s;
    s.Load(store);
    EXPECT_EQ(s.iCheckDelay, 2);
    EXPECT_EQ(s.iMaxFaults, 5);
    EXPECT_EQ(s.iLptPort, 1);
    EXPECT_EQ(s.iCtrlPortMask, 4);
    ASSERT_TRUE(s.Save(store));
    EXPECT_NE(ReadFile(m_path).find("# edited by hand"), std::string::npos);
}

TEST_F(KeyFileTest, SaveThatCannotWriteFails) {
    std::ofstream(m_dir / "blocked") << "a file where the folder should be";
    CKeyFileProfileStore store(m_dir / "blocked" / "Tarnwick.conf");
    EXPECT_FALSE(AppSettings().Save(store));
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
