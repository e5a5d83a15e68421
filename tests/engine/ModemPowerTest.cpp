// The modem power cycle through the relay on the parallel port.
#include "CEngineFixture.h"

namespace {

class ModemPowerTest : public CEngineFixture {
protected:
    void SetUp() override {
        m_settings.bEstablishConnection = 0;
        m_settings.bMakeSureModemOn = 0;
        m_settings.sDefaultConnection = "Work";
    }
    std::vector<std::string>& PortLog() { return m_fakes.modules.m_log; }
};

TEST_F(ModemPowerTest, WholeCycleWithDefaults) {
    m_fakes.modules.m_registers[0x37A] = 0xFF;
    Start();
    m_fakes.dialUp.m_entries = {"Work"};
    m_fakes.dialUp.Connect("Work");
    const std::uint64_t t0 = m_fakes.timers.Now();

    Frame().OnResetModemPower();
    // Hung up first, then control register before data register, masked.
    EXPECT_EQ(m_fakes.dialUp.m_calls, (std::vector<std::string>{"hangup Work"}));
    EXPECT_EQ(PortLog(), (std::vector<std::string>{"in 37a", "out 37a fb", "in 378", "out 378 0"}));
    EXPECT_TRUE(Frame().IsModemOff());

    PortLog().clear();
    m_fakes.timers.Advance(3000);
    EXPECT_EQ(PortLog(), (std::vector<std::string>{"in 37a", "out 37a ff", "in 378", "out 378 0"}));
    EXPECT_FALSE(Frame().IsModemOff());
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_MODEM_POWER_OFF));
    EXPECT_EQ(m_fakes.timers.DueIn(IDT_DIAL), 15000);

    m_fakes.timers.Advance(15000);
    EXPECT_EQ(m_fakes.dialUp.m_calls.back(), "dial Work");
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_DIAL));
    EXPECT_EQ(m_fakes.timers.Now() - t0, 18000u);
}

TEST_F(ModemPowerTest, SecondRequestDuringOffTimeRestartsTheOffTimeWithoutPortWrites) {
    Start();
    Frame().OnResetModemPower();
    m_fakes.timers.Advance(2000);
    PortLog().clear();
    Frame().OnResetModemPower();
    EXPECT_TRUE(PortLog().empty());
    EXPECT_EQ(m_fakes.timers.DueIn(IDT_MODEM_POWER_OFF), 3000);
    m_fakes.timers.Advance(2999);
    EXPECT_TRUE(Frame().IsModemOff());
    m_fakes.timers.Advance(1);
    EXPECT_FALSE(Frame().IsModemOff());
}

TEST_F(ModemPowerTest, ZeroMasksStillReadAndWriteBackBothRegisters) {
    m_settings.iCtrlPortMask = 0;
    m_fakes.modules.m_registers[0x37A] = 0x5A;
    m_fakes.modules.m_registers[0x378] = 0xA5;
    Start();
    Frame().OnResetModemPower();
    EXPECT_EQ(PortLog(),
              (std::vector<std::string>{"in 37a", "out 37a 5a", "in 378", "out 378 a5"}));
    EXPECT_TRUE(m_fakes.timers.IsArmed(IDT_MODEM_POWER_OFF));
}

TEST_F(ModemPowerTest, OptionsControlHangUpAndRedial) {
    struct {
        int bTryToHangUp;
        int bTryToReestablish;
        const char* pszCurrent;
        bool bHungUp;
        bool bDialArmed;
    } const cases[] = {
        {1, 1, "Work", true, true},
        {0, 1, "Work", false, true},
        {1, 0, "Work", true, false},
        {1, 1, "", false, false},
    };
    for (const auto& c : cases) {
        CFakeServices fakes;
        CTarnwickApp app(fakes.services);
        app.m_AppSettings.bEstablishConnection = 0;
        app.m_AppSettings.bTryToHangUp = c.bTryToHangUp;
        app.m_AppSettings.bTryToReestablish = c.bTryToReestablish;
        app.InitInstance();
        if (*c.pszCurrent != '\0')
            fakes.dialUp.Connect(c.pszCurrent);
        app.GetMainWnd()->GetRasManager().SetCurrentEntry(c.pszCurrent);
        app.GetMainWnd()->OnResetModemPower();
        fakes.timers.Advance(3000);
        EXPECT_EQ(!fakes.dialUp.m_calls.empty(), c.bHungUp) << c.bTryToHangUp;
        EXPECT_EQ(fakes.timers.IsArmed(IDT_DIAL), c.bDialArmed) << c.bTryToReestablish;
    }
}

TEST_F(ModemPowerTest, MissingLibraryOrEntryPointsSkipPortButKeepTimers) {
    m_fakes.modules.m_bHasOut32 = false;
    m_fakes.modules.m_registers[0x37A] = 0xFF;
    Start();
    EXPECT_TRUE(Frame().IsPortLibLoaded());
    Frame().OnResetModemPower();
    EXPECT_EQ(PortLog(), (std::vector<std::string>{"in 37a", "in 378"}));
    EXPECT_EQ(m_fakes.modules.m_registers[0x37A], 0xFF);

    CFakeServices fakes;
    fakes.modules.m_bPresent = false;
    CTarnwickApp app(fakes.services);
    app.InitInstance();
    EXPECT_FALSE(app.GetMainWnd()->IsPortLibLoaded());
    EXPECT_EQ(app.GetMainWnd()->PortRead(0x37A), 0);
    app.GetMainWnd()->OnResetModemPower();
    EXPECT_TRUE(fakes.timers.IsArmed(IDT_MODEM_POWER_OFF));
    EXPECT_EQ(fakes.modules.m_strRequested, "libinpout32.so");
}

TEST_F(ModemPowerTest, NoPortMeansNoPowerCycleAtAll) {
    m_settings.iLptPort = 0;
    m_settings.bMakeSureModemOn = 1;
    Start();
    Frame().OnResetModemPower();
    EXPECT_TRUE(PortLog().empty());
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_MODEM_POWER_OFF));
}

TEST_F(ModemPowerTest, StoredOffAndWaitTimesBelowTheirMinimaAreRaised) {
    m_settings.iModemOffTime = 0;
    m_settings.iModemWaitTime = -3;
    Start();
    Frame().OnResetModemPower();
    EXPECT_EQ(m_fakes.timers.Period(IDT_MODEM_POWER_OFF), 1000u);
    m_fakes.timers.Advance(1000);
    EXPECT_EQ(m_fakes.timers.Period(IDT_DIAL), 5000u);
}

TEST_F(ModemPowerTest, CheckKeepsRunningDuringTheCycleAndRebootsPastTheLimit) {
    m_settings.iMaxFaults = 1;
    m_settings.iModemOffTime = 30;
    m_settings.iCheckDelay = 1;
    m_fakes.modules.m_registers[0x37A] = 0xFF;
    Start();
    RunCheck(); // fault 1: power off for 30 s
    EXPECT_TRUE(Frame().IsModemOff());
    RunCheck(); // fault 2 during the off time
    EXPECT_EQ(m_fakes.power.m_requests.size(), 1u);
}

} // namespace
