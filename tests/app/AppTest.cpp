// The application object: version text, autorun rules, the about box guard.
#include "CFakeServices.h"

#include "app/CTarnwickApp.h"
#include "engine/TimerIds.h"
#include "res/CVersionInfo.h"

#include <gtest/gtest.h>

namespace tarnwick {

namespace {

TEST(VersionTest, ShortVersionAndTooltip) {
    EXPECT_EQ(FormatVersionString("2, 10, 3, 0"), "2.1030");
    EXPECT_EQ(FormatVersionString("1.0.0.1"), ".1.0.0.1");
    EXPECT_EQ(GetProductVersionText(
                  CVersionInfo(std::map<std::string, std::string>{{"ProductVersion", "3, 1"}})),
              "\nVersion 3.1");
}

TEST(AutorunTest, SelectedMethodFollowsTheFlagAndTheOtherIsAlwaysRemoved) {
    const struct {
        const char* pszRow;
        int bAutoRun;
        int iMethod;
        const char* pszMethod0;
        const char* pszMethod1;
    } rows[] = {
        {"on, method 0", 1, 0, "/opt/tarnwick/bin/tarnwick", ""},
        {"on, method 1", 1, 1, "", "/opt/tarnwick/bin/tarnwick"},
        {"off, method 0", 0, 0, "", ""},
        {"off, method 1", 0, 1, "", ""},
        {"on, unknown method 2: nothing touched", 1, 2, "old", "old"},
        {"on, unknown method -1: nothing touched", 1, -1, "old", "old"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszRow);
        CFakeServices fakes;
        fakes.autorun.m_entries[0] = fakes.autorun.m_entries[1] = "old";
        CTarnwickApp app(fakes.services);
        app.GetSettings().bAutoRun = row.bAutoRun;
        app.GetSettings().iAutoRunMethod = row.iMethod;
        app.ApplyAutorun();
        EXPECT_EQ(fakes.autorun.m_entries[0], row.pszMethod0);
        EXPECT_EQ(fakes.autorun.m_entries[1], row.pszMethod1);
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

// A running program whose profile someone edits: "Modem" in the file, "DSL" adopted at start.
struct CReloadCase {
    const char* pszName;
    bool bReadable;
    bool bSignal; // SIGHUP rather than the file watch
    bool bEdit;
    const char* pszLog; // the last log line; empty when nothing is logged
    std::uint32_t nCheckPeriod;
    const char* pszAutorun;
};

TEST(ReloadTest, EditedValuesAreTakenAndAppliedAndKeptAtExit) {
    const CReloadCase cases[] = {
        {"signal after an edit", true, true, true,
         "settings: Reloaded the settings on request: bAutoRun=1, iCheckDelay=5", 300000,
         "/opt/tarnwick/bin/tarnwick"},
        {"signal without an edit still applies", true, true, false,
         "settings: Reloaded the settings on request: no value changed", 120000, ""},
        {"file watch after the program's own save", true, false, false, "", 0, ""},
        {"unreadable file", false, true, true,
         "settings: Could not read the settings file on request; the values in use stay", 0, ""},
    };
    for (const CReloadCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        CFakeServices fakes;
        fakes.profile.Set("WatchDogging", "sDefaultConnection", "Modem");
        fakes.dialUp.m_entries = {"Modem", "DSL"};
        fakes.dialUp.Connect("DSL");
        CTarnwickApp app(fakes.services);
        ASSERT_TRUE(app.InitInstance());
        fakes.timers.Advance(60000);
        if (c.bEdit) {
            fakes.profile.Set("WatchDogging", "iCheckDelay", "5");
            fakes.profile.Set("General", "bAutoRun", "1");
        }
        fakes.profile.m_bReadable = c.bReadable;
        const std::size_t nLines = fakes.log.m_lines.size();
        if (c.bSignal)
            app.OnReloadRequest();
        else
            app.OnProfileChanged();

        const bool bLogged = c.pszLog[0] != '\0';
        std::vector<std::string> settingsLines;
        for (std::size_t i = nLines; i < fakes.log.m_lines.size(); ++i)
            if (fakes.log.m_lines[i].second.rfind("settings: ", 0) == 0)
                settingsLines.push_back(fakes.log.m_lines[i].second);
        EXPECT_EQ(settingsLines,
                  bLogged ? std::vector<std::string>{c.pszLog} : std::vector<std::string>{});
        // Re-armed (which clears the fault counter): a full period from now.
        const bool bApplied = c.nCheckPeriod != 0;
        EXPECT_EQ(fakes.timers.DueIn(IDT_CHECK), bApplied ? c.nCheckPeriod : 60000);
        EXPECT_EQ(fakes.autorun.m_entries[0], c.pszAutorun);

        // The adopted connection stays, and the exit writes no edit back.
        fakes.profile.m_bReadable = true;
        app.ExitInstance();
        EXPECT_EQ(fakes.profile.Value("WatchDogging", "sDefaultConnection"), "DSL");
        EXPECT_EQ(fakes.profile.Value("WatchDogging", "iCheckDelay"), c.bEdit ? "5" : "2");
    }
}

} // namespace

} // namespace tarnwick
