// The application object: version text, autorun rules, the about box guard.
#include "CFakeServices.h"

#include "app/CTarnwickApp.h"
#include "app/CVersionInfo.h"

#include <gtest/gtest.h>

namespace tarnwick {

namespace {

TEST(VersionTest, ShortVersionAndTooltip) {
    EXPECT_EQ(FormatVersionString("2, 10, 3, 0"), "2.1030");
    EXPECT_EQ(FormatVersionString("1.0.0.1"), ".1.0.0.1");
    EXPECT_EQ(GetProductVersionText(), "Tarnwick\nVersion 1.001");
    EXPECT_EQ(GetProductVersionText(
                  CVersionInfo(std::map<std::string, std::string>{{"ProductVersion", "3, 1"}})),
              "\nVersion 3.1");
}

TEST(AutorunTest, SelectedMethodFollowsTheFlagAndTheOtherIsAlwaysRemoved) {
    struct {
        int bAutoRun;
        int iMethod;
        const char* pszMethod0;
        const char* pszMethod1;
    } const cases[] = {
        {1, 0, "/opt/tarnwick/bin/tarnwick", ""},
        {1, 1, "", "/opt/tarnwick/bin/tarnwick"},
        {0, 0, "", ""},
        {0, 1, "", ""},
        {1, 2, "old", "old"},
        {1, -1, "old", "old"},
    };
    for (const auto& c : cases) {
        CFakeServices fakes;
        fakes.autorun.m_entries[0] = fakes.autorun.m_entries[1] = "old";
        CTarnwickApp app(fakes.services);
        app.m_AppSettings.bAutoRun = c.bAutoRun;
        app.m_AppSettings.iAutoRunMethod = c.iMethod;
        app.ApplyAutorun();
        EXPECT_EQ(fakes.autorun.m_entries[0], c.pszMethod0) << c.bAutoRun << c.iMethod;
        EXPECT_EQ(fakes.autorun.m_entries[1], c.pszMethod1) << c.bAutoRun << c.iMethod;
    }
}

TEST(AboutTest, OneBoxAtATime) {
    CFakeServices fakes;
    CTarnwickApp app(fakes.services);
    fakes.ui.m_fnWhileModal = [&] { app.OnAppAbout(); };
    app.OnAppAbout();
    EXPECT_EQ(fakes.ui.m_nAboutShown, 1);
    fakes.ui.m_fnWhileModal = nullptr;
    app.OnAppAbout();
    EXPECT_EQ(fakes.ui.m_nAboutShown, 2);
}

} // namespace

} // namespace tarnwick
