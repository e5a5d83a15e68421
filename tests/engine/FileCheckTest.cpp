// The check that a watched file is still being rewritten.
#include "CEngineFixture.h"

namespace {

class FileCheckTest : public CEngineFixture {
protected:
    void SetUp() override {
        m_settings.bCheckConnState = 0;
        m_settings.bCheckFileRefresh = 1;
        m_settings.sFileRefresh = "/var/log/feed";
        m_settings.bEstablishConnection = 0;
    }
    CFakeFileTimes::SFile& File() { return m_fakes.files.m_files["/var/log/feed"]; }
    int FaultsAfterCheck() {
        RunCheck();
        return App().m_nFaultCount;
    }
};

TEST_F(FileCheckTest, RewrittenFilePassesAndAFileThatStopsChangingFails) {
    File().ftWrite = 100;
    Start();
    EXPECT_EQ(FaultsAfterCheck(), 0); // the first sight only records the time
    File().ftWrite = 200;
    EXPECT_EQ(FaultsAfterCheck(), 0);
    EXPECT_EQ(FaultsAfterCheck(), 1);
    EXPECT_EQ(FaultsAfterCheck(), 2);
    File().ftWrite = 300;
    EXPECT_EQ(FaultsAfterCheck(), 0);
}

TEST_F(FileCheckTest, MissingOrWriterHeldFileNeverCountsAsFault) {
    Start();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(FaultsAfterCheck(), 0); // not created yet
    File().ftWrite = 100;
    File().bHeldByWriter = true;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(FaultsAfterCheck(), 0);
    // Released: its first sight only records the time.
    File().bHeldByWriter = false;
    EXPECT_EQ(FaultsAfterCheck(), 0);
    EXPECT_EQ(FaultsAfterCheck(), 1);
}

TEST_F(FileCheckTest, SkippedCycleKeepsTheLastSeenTime) {
    File().ftWrite = 100;
    Start();
    FaultsAfterCheck();
    File().bHeldByWriter = true;
    EXPECT_EQ(FaultsAfterCheck(), 0);
    File().bHeldByWriter = false;
    EXPECT_EQ(FaultsAfterCheck(), 1); // still 100: unchanged since the last sight
}

} // namespace
