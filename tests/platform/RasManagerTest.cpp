// The dial-up manager's rules over a fake service, and the single-instance rule.
#include "CFakeServices.h"

#include "platform/CRasManager.h"
#include "platform/FindOtherInstance.h"

#include <gtest/gtest.h>

namespace {

class RasManagerTest : public ::testing::Test {
protected:
    CFakeDialUpService m_service;
    CRasManager m_ras{m_service};
};

TEST_F(RasManagerTest, NoConnectionKeepsTheCurrentEntry) {
    m_ras.SetCurrentEntry("Keep");
    EXPECT_FALSE(m_ras.IsConnected(""));
    EXPECT_FALSE(m_ras.IsConnected("Keep"));
    EXPECT_FALSE(m_ras.HangUp(""));
    EXPECT_EQ(m_ras.GetCurrentEntry(), "Keep");
}

TEST_F(RasManagerTest, MatchingIgnoresCaseAndEveryListingSetsTheCurrentEntry) {
    m_service.Connect("Work");
    EXPECT_TRUE(m_ras.IsConnected("work"));
    EXPECT_EQ(m_ras.GetCurrentEntry(), "Work");
    m_ras.SetCurrentEntry("");
    EXPECT_FALSE(m_ras.IsConnected("Home"));
    EXPECT_EQ(m_ras.GetCurrentEntry(), "Work");

    m_service.Connect("Home");
    EXPECT_TRUE(m_ras.IsConnected(""));
    EXPECT_EQ(m_ras.GetCurrentEntry(), "Home"); // the one listed last
    m_service.m_connections[1].bStatusOk = false;
    EXPECT_FALSE(m_ras.IsConnected("HOME"));
}

TEST_F(RasManagerTest, DialOnlyWhatIsNeededAndKnown) {
    m_service.m_entries = {"Work", "Home"};
    m_service.Connect("Work");
    EXPECT_TRUE(m_ras.Dial("WORK"));
    EXPECT_TRUE(m_service.m_calls.empty());
    EXPECT_FALSE(m_ras.Dial("Elsewhere"));
    EXPECT_TRUE(m_service.m_calls.empty());
    EXPECT_TRUE(m_ras.Dial("home"));
    EXPECT_EQ(m_service.m_calls, (std::vector<std::string>{"dial Home"}));
    m_service.m_failingEntries = {"Work"};
    m_service.m_connections.clear();
    EXPECT_FALSE(m_ras.Dial("Work"));
}

TEST_F(RasManagerTest, HangUpOfSeveral) {
    m_service.Connect("A");
    m_service.Connect("B");
    m_service.Connect("a");
    EXPECT_TRUE(m_ras.HangUp("A"));
    EXPECT_EQ(m_service.m_calls, (std::vector<std::string>{"hangup A", "hangup a"}));
    EXPECT_TRUE(m_ras.HangUp(""));
    EXPECT_TRUE(m_service.m_connections.empty());
}

TEST_F(RasManagerTest, EntryListKeepsEveryNameWhole) {
    for (int i = 0; i < 25; ++i)
        m_service.m_entries.push_back("Entry " + std::to_string(i));
    m_service.m_entries.push_back("A|B");
    EXPECT_EQ(m_ras.EnumEntryNames().size(), 26u);
    EXPECT_EQ(m_ras.EnumEntryNames().back(), "A|B");

    m_service.m_entries = {"A", "B"};
    EXPECT_EQ(m_ras.EnumEntries(), "A|B");
    m_service.m_entries = {"", "B"};
    EXPECT_EQ(m_ras.EnumEntries(), "|B");
    m_service.m_bServiceDown = true;
    EXPECT_EQ(m_ras.EnumEntries(), "");
    EXPECT_TRUE(m_ras.EnumEntryNames().empty());
}

TEST_F(RasManagerTest, LongNamesAreHandledWhole) {
    const std::string strLong(1000, 'x');
    m_service.m_entries = {strLong};
    EXPECT_TRUE(m_ras.Dial(std::string(1000, 'X')));
    EXPECT_TRUE(m_ras.IsConnected(strLong));
    EXPECT_EQ(m_ras.GetCurrentEntry(), strLong);
}

TEST(FindOtherInstanceTest, SameFileNameAnotherProcess) {
    CFakeProcessList processes;
    EXPECT_EQ(FindOtherInstance(processes), 0u);
    processes.m_processes.push_back({7, "TarnWick"});
    processes.m_processes.push_back({8, "tarnwick"});
    EXPECT_EQ(FindOtherInstance(processes), 7u);
    processes.m_bAvailable = false;
    EXPECT_EQ(FindOtherInstance(processes), 0u);
}

} // namespace
