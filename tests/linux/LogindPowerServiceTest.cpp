// ExitSystem through logind, against python3-dbusmock's logind on a private system bus.
#include "CLogindMock.h"
#include "CTestSandbox.h"

#include "platform/linux/CLogindPowerService.h"

#include <gtest/gtest.h>

#include <memory>

using namespace std::chrono_literals;

namespace {
class LogindPowerServiceTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_pSandbox = std::make_unique<CTestSandbox>(CTestSandbox::SOptions{false, true});
    }
    static void TearDownTestSuite() { s_pSandbox.reset(); }

    void SetUp() override {
        ASSERT_TRUE(s_pSandbox->IsReady()) << s_pSandbox->Error().toStdString();
        m_pMock = std::make_unique<CLogindMock>(s_pSandbox->SystemBus());
        ASSERT_TRUE(m_pMock->ClearCalls());
    }

    static std::unique_ptr<CTestSandbox> s_pSandbox;
    std::unique_ptr<CLogindMock> m_pMock;
};
std::unique_ptr<CTestSandbox> LogindPowerServiceTest::s_pSandbox;

TEST_F(LogindPowerServiceTest, RebootAndShutdownAskLogindWithoutInteraction) {
    CLogindPowerService power(s_pSandbox->SystemBus());
    EXPECT_TRUE(power.ExitSystem(EWX_REBOOT));
    EXPECT_TRUE(power.ExitSystem(EWX_SHUTDOWN));
    EXPECT_EQ(m_pMock->Calls("Reboot"), std::vector<QVariantList>{{false}});
    EXPECT_EQ(m_pMock->Calls("PowerOff"), std::vector<QVariantList>{{false}});
}

TEST_F(LogindPowerServiceTest, NeitherRebootNorShutdownAsksNothing) {
    CLogindPowerService power(s_pSandbox->SystemBus());
    EXPECT_FALSE(power.ExitSystem(0));
    EXPECT_TRUE(m_pMock->Calls("Reboot").empty());
    EXPECT_TRUE(m_pMock->Calls("PowerOff").empty());
}

// Runs last in this suite: it changes the stand-in for good.
TEST_F(LogindPowerServiceTest, ZRefusedOrAbsentLogindIsFalse) {
    CLogindPowerService power(s_pSandbox->SystemBus(), 1s);
    ASSERT_TRUE(m_pMock->Refuse());
    EXPECT_FALSE(power.ExitSystem(EWX_REBOOT));
    EXPECT_FALSE(power.ExitSystem(EWX_SHUTDOWN));
    EXPECT_EQ(m_pMock->Calls("Reboot").size(), 1u);

    s_pSandbox->StopLogind();
    EXPECT_FALSE(power.ExitSystem(EWX_REBOOT));
    ASSERT_TRUE(s_pSandbox->StartLogind());
}
} // namespace
