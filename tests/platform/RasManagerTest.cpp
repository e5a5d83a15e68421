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
    EXPECT_EQ(ras.EnumEntryNames(), (std::vector<std::string>{"", "B", "C|D"}));
    service.m_bServiceDown = true;
    EXPECT_EQ(ras.EnumEntries(), "");
    EXPECT_FALSE(ras.IsConnected(""));
    EXPECT_EQ(ras.GetCurrentEntry(), strLong);
}

// The instance lock decides; the process list (same user, same file name) only where no
// lock can be made.
TEST(FindOtherInstanceTest, LockFirstThenSameFileNameOfTheSameUser) {
    struct {
        const char* pszName;
        EInstanceLock eLock;
        unsigned nHolder;
        std::vector<SProcessEntry> others;
        unsigned nExpected;
    } const cases[] = {
        {"lock taken, a copy in the list", EInstanceLock::Taken, 0, {{7, "TarnWick"}}, 0},
        {"lock held", EInstanceLock::HeldByOther, 7, {}, 7},
        {"lock held, holder unknown", EInstanceLock::HeldByOther, 0, {}, ~0u},
        {"no lock, a copy", EInstanceLock::Unavailable, 0, {{7, "TarnWick"}}, 7},
        {"no lock, another user's", EInstanceLock::Unavailable, 0, {{7, "tarnwick", false}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        CFakeProcessList processes;
        CFakeLog log;
        processes.m_eLock = c.eLock;
        processes.m_nLockHolder = c.nHolder;
        processes.m_processes.insert(processes.m_processes.end(), c.others.begin(), c.others.end());
        EXPECT_EQ(FindOtherInstance(processes, log), c.nExpected);
        EXPECT_EQ(log.m_lines.size(), 1u);
    }
}

} // namespace

} // namespace tarnwick
