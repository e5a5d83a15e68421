// The dial-up manager's rules that the NetworkManager tests cannot reach, and the
// single-instance rule. Matching, dialling and hanging up are tested through the real
// backend in tests/linux.
#include "CFakeServices.h"

#include "platform/CRasManager.h"
#include "platform/FindOtherInstance.h"

#include <gtest/gtest.h>

namespace tarnwick {

namespace {

TEST(RasManagerTest, UnreadableStatusLongNamesAndTheJoinedList) {
    CFakeDialUpService service;
    CRasManager ras(service);
    service.Connect("Work", false);
    EXPECT_FALSE(ras.IsConnected("work")); // listed, but its status cannot be read
    EXPECT_EQ(ras.GetCurrentEntry(), "Work");

    const std::string strLong(1000, 'x');
    service.m_entries = {strLong};
    EXPECT_TRUE(ras.Dial(std::string(1000, 'X')));
    EXPECT_TRUE(ras.IsConnected(strLong));
    EXPECT_EQ(ras.GetCurrentEntry(), strLong);

    service.m_entries = {"", "B", "C|D"};
    EXPECT_EQ(ras.EnumEntries(), "|B|C|D");
    EXPECT_EQ(ras.EnumEntryNames().back(), "C|D");
    service.m_bServiceDown = true;
    EXPECT_EQ(ras.EnumEntries(), "");
    EXPECT_FALSE(ras.IsConnected(""));
    EXPECT_EQ(ras.GetCurrentEntry(), strLong);
}

TEST(FindOtherInstanceTest, SameFileNameAnotherProcess) {
    CFakeProcessList processes;
    EXPECT_EQ(FindOtherInstance(processes), 0u);
    processes.m_processes.push_back({7, "TarnWick"});
    EXPECT_EQ(FindOtherInstance(processes), 7u);
    processes.m_bAvailable = false;
    EXPECT_EQ(FindOtherInstance(processes), 0u);
}

} // namespace

} // namespace tarnwick
