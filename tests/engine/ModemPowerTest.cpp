// The modem power cycle through the relay on the parallel port.
#include "CEngineFixture.h"
#include "engine/PortTable.h"

namespace tarnwick {

namespace {

class ModemPowerTest : public CEngineFixture {
protected:
    void SetUp() override {
        m_settings.bEstablishConnection = 0;
        m_settings.bMakeSureModemOn = 0;
    }
    std::vector<std::string>& PortLog() { return m_fakes.modules.m_log; }
};

TEST_F(ModemPowerTest, WholeCycleWithDefaults) {
    m_fakes.modules.m_registers[0x37A] = 0xFF;
    Start();
    m_fakes.dialUp.m_entries = {"Work"};
    m_fakes.dialUp.Connect("Work");

    Frame().OnResetModemPower();
    // Hung up first, then the control register before the data register, masked.
    EXPECT_EQ(m_fakes.dialUp.m_calls, (std::vector<std::string>{"hangup Work"}));
    EXPECT_EQ(PortLog(), (std::vector<std::string>{"in 37a", "out 37a fb", "in 378", "out 378 0"}));
    EXPECT_TRUE(Frame().IsModemOff());

    PortLog().clear();
    m_fakes.timers.Advance(3000);
    EXPECT_EQ(PortLog(), (std::vector<std::string>{"in 37a", "out 37a ff", "in 378", "out 378 0"}));
    EXPECT_FALSE(Frame().IsModemOff());
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_MODEM_POWER_OFF));

    m_fakes.timers.Advance(14999);
    EXPECT_EQ(m_fakes.dialUp.m_calls.size(), 1u);
    m_fakes.timers.Advance(1);
    EXPECT_EQ(m_fakes.dialUp.m_calls, (std::vector<std::string>{"hangup Work", "dial Work"}));
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_DIAL));
}

// A timer the system refuses is logged with what it costs; without the off timer the modem
// would stay off for good, so its power returns at once.
TEST_F(ModemPowerTest, RefusedTimersAreLoggedAndTheModemIsNotLeftOff) {
    m_fakes.timers.m_refused = {IDT_MODEM_POWER_OFF, IDT_CHECK};
    Start();
    EXPECT_EQ(m_fakes.log.Find("timer: the system refused timer", LogLevel::Error).size(), 1u)
        << "the check timer";
    EXPECT_EQ(m_fakes.log.Find("the link is not watched").size(), 1u);
    Frame().OnResetModemPower();
    EXPECT_FALSE(Frame().IsModemOff());
    EXPECT_EQ(m_fakes.log.Find("the power is switched on again at once", LogLevel::Error).size(),
              1u);
}

// Power-on sets the relay bits whatever they were and leaves every other bit alone: a bit
// that is already set stays set.
TEST_F(ModemPowerTest, PowerOnSetsTheRelayBitsWhateverTheyWere) {
    m_settings.iDataPortMask = 0x01;
    Start();
    const struct {
        const char* pszName;
        std::uint16_t nCtrlBefore, nDataBefore, nCtrlAfter, nDataAfter;
    } rows[] = {{"bits clear", 0xF0, 0x80, 0xF4, 0x81},
                {"bits already set", 0xFF, 0x01, 0xFF, 0x01},
                {"only the bits set", 0x04, 0x01, 0x04, 0x01}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        m_fakes.modules.m_registers[0x37A] = row.nCtrlBefore;
        m_fakes.modules.m_registers[0x378] = row.nDataBefore;
        Frame().ModemPowerOn(false);
        EXPECT_EQ(m_fakes.modules.m_registers[0x37A], row.nCtrlAfter);
        EXPECT_EQ(m_fakes.modules.m_registers[0x378], row.nDataAfter);
        EXPECT_FALSE(Frame().IsModemOff());
    }
}

TEST_F(ModemPowerTest, OptionsControlHangUpAndRedial) {
    const struct {
        const char* pszRow;
        int bTryToHangUp;
        int bTryToReestablish;
        const char* pszCurrent;
        bool bHungUp;
        bool bDialArmed;
    } rows[] = {
        {"both", 1, 1, "Work", true, true},
        {"no hang-up", 0, 1, "Work", false, true},
        {"no re-dial", 1, 0, "Work", true, false},
        {"no current entry", 1, 1, "", false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszRow);
        m_settings.bTryToHangUp = row.bTryToHangUp;
        m_settings.bTryToReestablish = row.bTryToReestablish;
        m_fakes.dialUp.m_calls.clear();
        m_fakes.dialUp.m_connections.clear();
        Start();
        if (*row.pszCurrent != '\0')
            m_fakes.dialUp.Connect(row.pszCurrent);
        Frame().GetRasManager().SetCurrentEntry(row.pszCurrent);
        Frame().OnResetModemPower();
        m_fakes.timers.Advance(3000);
        EXPECT_EQ(!m_fakes.dialUp.m_calls.empty(), row.bHungUp);
        EXPECT_EQ(m_fakes.timers.IsArmed(IDT_DIAL), row.bDialArmed);
        m_pApp.reset();
    }
}

TEST_F(ModemPowerTest, MissingModuleEntryPointOrPortSkipsThePort) {
    m_fakes.modules.m_bHasOut32 = false;
    m_fakes.modules.m_registers[0x37A] = 0xFF;
    Start();
    Frame().OnResetModemPower();
    EXPECT_EQ(PortLog(), (std::vector<std::string>{"in 37a", "in 378"}));
    EXPECT_EQ(m_fakes.modules.m_registers[0x37A], 0xFF);
    m_pApp.reset();

    m_fakes.modules.m_bPresent = false;
    Start();
    EXPECT_FALSE(Frame().IsPortLibLoaded());
    EXPECT_EQ(Frame().PortRead(0x37A), 0);
    Frame().OnResetModemPower();
    EXPECT_TRUE(m_fakes.timers.IsArmed(IDT_MODEM_POWER_OFF));
    EXPECT_EQ(m_fakes.modules.m_strRequested, kPortLibName);
    m_pApp.reset();

    // No port: no power-on at start and no power cycle at all.
    m_fakes.modules.m_bPresent = true;
    m_settings.iLptPort = 0;
    m_settings.bMakeSureModemOn = 1;
    PortLog().clear();
    Start();
    Frame().OnResetModemPower();
    EXPECT_TRUE(PortLog().empty());
    EXPECT_FALSE(m_fakes.timers.IsArmed(IDT_MODEM_POWER_OFF));
}

// Hand-edited values outside what the dialog offers are used clamped to its ranges (a mask
// never drives bits beyond its byte), said in the log, and left as stored.
TEST_F(ModemPowerTest, HandEditedValuesAreUsedClampedToTheDialogsRanges) {
    m_settings.iModemOffTime = 0;
    m_settings.iModemWaitTime = -3;
    m_settings.sDefaultConnection = "Work";
    m_settings.iCtrlPort = 0x12345;
    m_settings.iCtrlPortMask = 0x1FF;
    m_settings.iDataPort = -1;
    m_settings.iDataPortMask = -1;
    m_fakes.modules.m_registers[0xFFFF] = 0xFFFF;
    Start();
    Frame().OnResetModemPower();
    EXPECT_EQ(PortLog(), (std::vector<std::string>{"in ffff", "out ffff ff00", "in 0", "out 0 0"}));
    EXPECT_EQ(m_fakes.timers.Period(IDT_MODEM_POWER_OFF), 1000u);
    m_fakes.timers.Advance(1000);
    EXPECT_EQ(m_fakes.timers.Period(IDT_DIAL), 5000u);
    EXPECT_EQ(Settings().iCtrlPortMask, 0x1FF);
    EXPECT_EQ(m_fakes.log
                  .Find("settings: iDataPort=-1 is outside 0..65535: 0 is used; the stored "
                        "value is kept")
                  .size(),
              1u);
}

// A second request during the off time restarts it without port writes; an exit during it
// switches the modem on again, as the end of the off time would, without the dial.
TEST_F(ModemPowerTest, OffTimeIsRestartedByASecondRequestAndEndedByAnExit) {
    m_settings.sDefaultConnection = "Work";
    Start();
    Frame().OnResetModemPower();
    m_fakes.timers.Advance(2000);
    PortLog().clear();
    Frame().OnResetModemPower();
    EXPECT_TRUE(PortLog().empty());
    m_fakes.timers.Advance(2999);
    EXPECT_TRUE(Frame().IsModemOff());
    m_fakes.timers.Advance(1);
    EXPECT_FALSE(Frame().IsModemOff());

    Frame().OnResetModemPower();
    PortLog().clear();
    App().ExitInstance();
    EXPECT_EQ(PortLog(), (std::vector<std::string>{"in 37a", "out 37a 4", "in 378", "out 378 0"}));
    EXPECT_TRUE(m_fakes.dialUp.m_calls.empty());
}

} // namespace

} // namespace tarnwick
