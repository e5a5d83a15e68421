// The check that a watched file is still being rewritten.
#include "CEngineFixture.h"

namespace tarnwick {

namespace {

using FileCheckTest = CEngineFixture;

TEST_F(FileCheckTest, OnlyAnUnchangedTimeOfAReadableFileIsAFault) {
    // Each step: the file's state before the check, then the fault count after it.
    const struct {
        const char* pszStep;
        bool bExists;
        bool bHeld;
        std::uint64_t ftWrite;
        int nFaults;
    } steps[] = {
        {"not created yet: skipped", false, false, 0, 0},
        {"first sight only records the time", true, false, 100, 0},
        {"rewritten", true, false, 200, 0},
        {"stopped changing", true, false, 200, 1},
        {"held by its writer: skipped, so the cycle passes", true, true, 200, 0},
        {"still the time last seen", true, false, 200, 1},
        {"rewritten again", true, false, 300, 0},
    };
    m_settings.bCheckConnState = 0;
    m_settings.bCheckFileRefresh = 1;
    m_settings.sFileRefresh = "/var/log/feed";
    Start();
    for (const auto& step : steps) {
        SCOPED_TRACE(step.pszStep);
        if (step.bExists)
            m_fakes.files.m_files["/var/log/feed"] = {step.ftWrite, step.bHeld};
        RunCheck();
        EXPECT_EQ(Frame().GetFaultCount(), step.nFaults);
    }
}

} // namespace

} // namespace tarnwick
