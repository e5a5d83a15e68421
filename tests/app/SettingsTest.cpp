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
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class TempDir {
public:
    TempDir() {
        char szTemplate[] = "/tmp/tarnwick-test-XXXXXX";
        m_path = mkdtemp(szTemplate);
    }
    ~TempDir() { fs::remove_all(m_path); }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

TEST(SettingsTest, DefaultsMatchTheTable) {
    const AppSettings s;
    EXPECT_EQ(s.CurrentTab, 0);
    EXPECT_EQ(s.bAutoRun, 0);
    EXPECT_EQ(s.iAutoRunMethod, 0);
    EXPECT_EQ(s.bAutoShutdown, 0);
    EXPECT_EQ(s.sShutdownTime, "");
    EXPECT_EQ(s.bEnableWatchDogging, 1);
    EXPECT_EQ(s.sDefaultConnection, "");
    EXPECT_EQ(s.bEstablishConnection, 1);
    EXPECT_EQ(s.bCheckConnState, 1);
    EXPECT_EQ(s.bCheckFileRefresh, 0);
    EXPECT_EQ(s.bCheckURLDownload, 0);
    EXPECT_EQ(s.iCheckDelay, 2);
    EXPECT_EQ(s.iMaxFaults, 3);
    EXPECT_EQ(s.sFileRefresh, "");
    EXPECT_FALSE(s.sURLDownload.empty());
    EXPECT_EQ(s.iLptPort, 1);
    EXPECT_EQ(s.iDataPort, 888);
    EXPECT_EQ(s.iCtrlPort, 890);
    EXPECT_EQ(s.iDataPortMask, 0);
    EXPECT_EQ(s.iCtrlPortMask, 4);
    EXPECT_EQ(s.iModemOffTime, 3);
    EXPECT_EQ(s.iModemWaitTime, 15);
    EXPECT_EQ(s.bTryToHangUp, 1);
    EXPECT_EQ(s.bTryToReestablish, 1);
    EXPECT_EQ(s.bMakeSureModemOn, 1);
}

TEST(SettingsTest, MissingAndMistypedValuesLeaveTheirFields) {
    CFakeProfileStore profile;
    profile.Set("WatchDogging", "iCheckDelay", "7");
    profile.Set("WatchDogging", "iMaxFaults", "many");
    profile.Set("LptResetter", "iLptPort", "2x");
    profile.Set("General", "sShutdownTime", "");
    AppSettings s;
    s.sShutdownTime = "21:00";
    s.Load(profile);
    EXPECT_EQ(s.iCheckDelay, 7);
    EXPECT_EQ(s.iMaxFaults, 3);
    EXPECT_EQ(s.iLptPort, 1);
    EXPECT_EQ(s.sShutdownTime, ""); // stored empty, not missing
}

class KeyFileTest : public ::testing::Test {
protected:
    TempDir m_dir;
    fs::path m_path = m_dir.Path() / "Tarnwick" / "Tarnwick.conf";
};

TEST_F(KeyFileTest, FirstSaveWritesAll25ValuesInThreeSectionsPrivately) {
    CKeyFileProfileStore store(m_path);
    AppSettings s;
    s.Load(store);
    ASSERT_TRUE(s.Save(store));

    const std::string strText = ReadFile(m_path);
    int nValues = 0;
    std::istringstream lines(strText);
    for (std::string strLine; std::getline(lines, strLine);)
        nValues += strLine.find('=') != std::string::npos;
    EXPECT_EQ(nValues, 25);
    for (const char* psz : {"[General]", "[WatchDogging]", "[LptResetter]", "bCheckURLDownload=0",
                            "iDataPort=888", "sShutdownTime=\n"})
        EXPECT_NE(strText.find(psz), std::string::npos) << psz;

    struct stat st {};
    ASSERT_EQ(stat(m_path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(KeyFileTest, RoundTripKeepsEveryValueIncludingAwkwardTexts) {
    AppSettings s;
    s.sDefaultConnection = "Work [DSL]; #1 = \"fast\"\\";
    s.sFileRefresh = " /tmp/with spaces/feed.log ";
    s.sShutdownTime = "";
    s.iCtrlPort = -1;
    s.CurrentTab = 2;
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
    EXPECT_EQ(t.sShutdownTime, "");
    EXPECT_EQ(t.iCtrlPort, -1);
    EXPECT_EQ(t.CurrentTab, 2);
}

TEST_F(KeyFileTest, HandEditedFileWithWrongTypesAndMissingValues) {
    fs::create_directories(m_path.parent_path());
    std::ofstream(m_path) << "# edited by hand\n[WatchDogging]\niCheckDelay=abc\niMaxFaults=5\n"
                             "[LptResetter]\niLptPort=99999999999\n";
    CKeyFileProfileStore store(m_path);
    AppSettings s;
    s.Load(store);
    EXPECT_EQ(s.iCheckDelay, 2);
    EXPECT_EQ(s.iMaxFaults, 5);
    EXPECT_EQ(s.iLptPort, 1);
    ASSERT_TRUE(s.Save(store));
    EXPECT_NE(ReadFile(m_path).find("# edited by hand"), std::string::npos);
}

TEST_F(KeyFileTest, FailedSaveLeavesTheOldFileWhole) {
    CKeyFileProfileStore store(m_path);
    AppSettings s;
    ASSERT_TRUE(s.Save(store));
    const std::string strBefore = ReadFile(m_path);
    // A folder that cannot take the temporary file makes the save fail (root ignores
    // permissions, so use a folder that is about to vanish instead).
    fs::path blocked = m_dir.Path() / "blocked";
    std::ofstream(blocked) << "a file, not a folder";
    CKeyFileProfileStore broken(blocked / "Tarnwick.conf");
    EXPECT_FALSE(s.Save(broken));

    s.iMaxFaults = 9;
    fs::permissions(m_path.parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
    if (geteuid() != 0) {
        EXPECT_FALSE(s.Save(store));
        EXPECT_EQ(ReadFile(m_path), strBefore);
    }
    fs::permissions(m_path.parent_path(), fs::perms::owner_all);
}

TEST(SettingsPathTest, FollowsXdgConfigHome) {
    const char* pszOld = std::getenv("XDG_CONFIG_HOME");
    const std::string strOld = pszOld != nullptr ? pszOld : "";
    setenv("XDG_CONFIG_HOME", "/srv/cfg", 1);
    EXPECT_EQ(CKeyFileProfileStore::DefaultPath(), "/srv/cfg/Tarnwick/Tarnwick.conf");
    setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
    setenv("HOME", "/home/modem", 1);
    EXPECT_EQ(CKeyFileProfileStore::DefaultPath(), "/home/modem/.config/Tarnwick/Tarnwick.conf");
    if (pszOld != nullptr)
        setenv("XDG_CONFIG_HOME", strOld.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

} // namespace
