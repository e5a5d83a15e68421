// The check that a watched file is still being rewritten.
#include "CEngineFixture.h"

namespace tarnwick {

namespace {

TEST(FileCheckTest, OnlyAnUnchangedTimeOfAReadableFileIsAFault) {
    // Each step: the file's state before the check, then the fault count after it.
    struct SStep {
        bool bExists;
        bool bHeld;
        std::uint64_t ftWrite;
        int nFaults;
    };
    const SStep steps[] = {
        {false, false, 0, 0},  // not created yet: skipped
        {true, false, 100, 0}, // first sight only records the time
        {true, false, 200, 0}, // rewritten
        {true, false, 200, 1}, // stopped changing
        {true, true, 200, 0},  // held by its writer: skipped, so the cycle passes
        {true, false, 200, 1}, // still the time last seen
        {true, false, 300, 0},
    };
    CFakeServices fakes;
    CTarnwickApp app(fakes.services);
    app.GetSettings().bCheckConnState = 0;
    app.GetSettings().bCheckFileRefresh = 1;
    app.GetSettings().sFileRefresh = "/var/log/feed";
    app.InitInstance();
    for (const SStep& step : steps) {
        if (step.bExists)
            fakes.files.m_files["/var/log/feed"] = {step.ftWrite, step.bHeld};
        app.GetMainWnd()->OnTimer(IDT_CHECK);
        EXPECT_EQ(app.GetMainWnd()->GetFaultCount(), step.nFaults) << step.ftWrite << step.bHeld;
    }
}

} // namespace

} // namespace tarnwick
