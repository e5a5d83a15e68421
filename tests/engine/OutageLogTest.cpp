// What the engine tells: causes in the log, the outage history and the reboot budget, also
// across a restart of the program and of the machine.
#include "CEngineFixture.h"

#include "app/HistoryReport.h"
#include "platform/IPowerService.h"

namespace tarnwick {

namespace {

class OutageLogTest : public CEngineFixture {
protected:
    void SetUp() override {
        m_settings.sDefaultConnection = "ISP";
        m_settings.bEstablishConnection = 0;
        m_settings.iMaxFaults = 1; // fail 1: power cycle, fail 2 and on: reboot
        m_fakes.dialUp.m_entries = {"ISP"};
        m_fakes.dialUp.m_failingEntries = {"ISP"};
    }
    void Fail() {
        SetLinkUp(false);
        RunCheck();
        m_fakes.clock.m_nWallAtZero += 120;
    }
    void Pass() {
        m_fakes.dialUp.m_connections.clear();
        m_fakes.dialUp.Connect("ISP");
        RunCheck();
    }
    // The program ends and starts again on the same state files (after a reboot: new boot).
    void Restart(const char* pszBoot) {
        m_pApp.reset();
        m_fakes.state.m_strBootId = pszBoot;
        Start();
    }
    std::vector<std::string>& History() { return m_fakes.state.m_files["outages.jsonl"]; }
};

TEST_F(OutageLogTest, FailedChecksSayWhyAndPassingOnesAreDebugOnly) {
    m_settings.bCheckFileRefresh = 1;
    m_settings.sFileRefresh = "/var/feed";
    m_settings.bCheckURLDownload = 1;
    m_settings.sURLDownload = "http://probe.example:8080/x";
    m_settings.iMaxFaults = 5;
    m_fakes.files.m_files["/var/feed"] = {};
    Start();
    RunCheck(); // the file's first sighting; the link is down, the name unknown
    Fail();
    const std::vector<std::string> failed = m_fakes.log.Find("check failed", LogLevel::Warning);
    ASSERT_EQ(failed.size(), 2u);
    for (const char* pszCause : {"(1 in a row, limit 5)", "connection 'ISP' not active",
                                 "connect to probe.example:8080: name not found"})
        EXPECT_NE(failed[0].find(pszCause), std::string::npos) << pszCause;
    EXPECT_NE(failed[1].find("file /var/feed unchanged since the previous check"),
              std::string::npos);
    EXPECT_EQ(m_fakes.log.Find("re-dial: dial of 'ISP' failed", LogLevel::Warning).size(), 2u);

    m_settings = {};
    m_pApp.reset();
    m_fakes.log.m_lines.clear();
    Start();
    Pass(); // ends the outage that the state files still hold
    Pass();
    EXPECT_EQ(m_fakes.log.Find("check passed", LogLevel::Info).size(), 0u);
    EXPECT_EQ(m_fakes.log.Find("check passed").size(), 1u);
}

// A problem the state report got past (its spare could not be had) is logged once.
TEST_F(OutageLogTest, AWarningFromTheStateReportIsLoggedOnce) {
    Start();
    m_fakes.state.m_strWarning = "status.next: Is a directory";
    Pass();
    Pass();
    EXPECT_EQ(m_fakes.log.Find("status.next: Is a directory", LogLevel::Warning).size(), 1u);
}

TEST_F(OutageLogTest, AnOutageOpenAcrossARebootIsClosedByTheRebootAndCapped) {
    m_settings.iMaxFaults = 2;
    // A full history and a damaged line: the cap keeps the last 10000, the damage is skipped.
    History().assign(
        10000,
        R"({"start":"2026-11-01T10:00:00+01:00","end":"2026-11-01T10:04:00+01:00","failed_checks":2,"redials":1,"power_cycles":0,"reboots":0,"fixed_by":"redial"})");
    History()[5] = R"({"start":"2026-11-01T10:00)";
    Start();
    Fail(); // re-dial
    Fail(); // power cycle
    Fail(); // reboot, accepted
    ASSERT_EQ(m_fakes.power.m_requests, std::vector<unsigned>{EWX::Reboot});
    Restart("boot-2");
    EXPECT_TRUE(m_fakes.state.m_strStatus.find("outage: since") != std::string::npos);
    m_fakes.clock.m_nWallAtZero += 60;
    Pass();
    ASSERT_EQ(History().size(), 10000u);
    EXPECT_EQ(
        History().back(),
        R"({"start":"1972-09-27T12:00:00+01:00","end":"1972-09-27T12:07:00+01:00","failed_checks":3,"redials":1,"power_cycles":1,"reboots":1,"fixed_by":"reboot"})");
    EXPECT_EQ(m_fakes.log.Find("link restored after 3 failed checks, by the reboot").size(), 1u);
    EXPECT_EQ(m_fakes.state.m_files.count("outage-open.json"), 0u);

    // After a restart of the program alone the last step keeps the credit.
    Fail(); // re-dial
    Restart("boot-2");
    Pass();
    ASSERT_EQ(History().size(), 10000u);
    EXPECT_NE(History().back().find(R"("fixed_by":"redial")"), std::string::npos);

    const std::string strReport = FormatHistoryReport(History(), m_fakes.clock.GetWallTime());
    EXPECT_NE(strReport.find("outages: 9999"), std::string::npos) << strReport;
    EXPECT_NE(strReport.find("restored by: redial 9998, power-cycle 0, reboot 1, itself 0"),
              std::string::npos)
        << strReport;
    EXPECT_NE(strReport.find("damaged lines skipped: 1"), std::string::npos);
}

TEST_F(OutageLogTest, TheRebootBudgetCountsAcrossRestartsAndPowerCyclesInstead) {
    m_settings.iMaxRebootsPerDay = 1;
    Start();
    Fail(); // power cycle
    Fail(); // reboot 1 of 1
    Restart("boot-2");
    Fail();
    Fail();
    EXPECT_EQ(m_fakes.power.m_requests.size(), 1u);
    EXPECT_EQ(m_fakes.log.Find("reboot skipped: 1 reboots in the last 24 h").size(), 1u);
    EXPECT_TRUE(m_fakes.timers.IsArmed(IDT_MODEM_POWER_OFF));
    EXPECT_NE(m_fakes.state.m_strStatus.find("next failure does: power cycle (reboot budget"),
              std::string::npos);

    // A day after the reboot the budget is there again; a refused reboot costs none of it.
    m_fakes.clock.m_nWallAtZero += std::int64_t{24} * 3600;
    m_fakes.power.m_bAccept = false;
    Fail();
    Fail();
    EXPECT_EQ(m_fakes.power.m_requests.size(), 3u);
    EXPECT_EQ(m_fakes.log.Find("reboot refused", LogLevel::Error).size(), 2u);
    EXPECT_FALSE(m_fakes.ui.m_notes.empty());
}

} // namespace

} // namespace tarnwick
