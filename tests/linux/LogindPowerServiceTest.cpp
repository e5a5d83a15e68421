// ExitSystem through logind, against python3-dbusmock's logind on a private system bus.
#include "CLogindMock.h"
#include "CTestSandbox.h"

#include "platform/linux/CLogindPowerService.h"

#include <gtest/gtest.h>

namespace tarnwick {

using namespace std::chrono_literals;

namespace {
TEST(LogindPowerServiceTest, AsksLogindWithoutInteractionAndIsFalseWhenRefusedOrAbsent) {
    CTestSandbox sandbox;
    ASSERT_TRUE(sandbox.IsReady()) << sandbox.Error().toStdString();
    CLogindMock mock(sandbox.SystemBus());
    CLogindPowerService power(sandbox.SystemBus(), 1s);
    EXPECT_TRUE(power.ExitSystem(EWX::Reboot));
    EXPECT_TRUE(power.ExitSystem(EWX::Shutdown));
    EXPECT_FALSE(power.ExitSystem(0)) << "neither reboot nor shutdown asks nothing";
    EXPECT_EQ(mock.Calls("Reboot"), std::vector<QVariantList>{{false}});
    EXPECT_EQ(mock.Calls("PowerOff"), std::vector<QVariantList>{{false}});

    ASSERT_TRUE(mock.Refuse());
    EXPECT_FALSE(power.ExitSystem(EWX::Reboot));
    EXPECT_FALSE(power.ExitSystem(EWX::Shutdown));
    EXPECT_EQ(mock.Calls("Reboot").size(), 2u) << "asked, and refused";
    sandbox.StopStandIn("logind");
    EXPECT_FALSE(power.ExitSystem(EWX::Reboot));
}
} // namespace

} // namespace tarnwick
