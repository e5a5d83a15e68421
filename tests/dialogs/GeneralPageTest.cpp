// The "General" page: autorun, its method and the automatic shutdown time.
#include "CPageHarness.h"

#include "dialogs/CGeneralPage.h"
#include "res/DialogIds.h"

#include <cstdio>

namespace {

constexpr std::initializer_list<int> kMethodLine = {IDC_GEN_ST_METHOD, IDC_GEN_METHOD};
constexpr std::initializer_list<int> kTimeLines = {IDC_GEN_ST_TIME, IDC_GEN_TIME,
                                                   IDC_GEN_ST_BIOS_NOTE};

class GeneralPageTest : public CPageHarness {
protected:
    CGeneralPage m_page{m_registry};
};

TEST_F(GeneralPageTest, DefaultsShowTheFirstMethodAndNineInTheEveningAllGreyed) {
    Open(m_page);
    EXPECT_EQ(Items().GetCheck(IDC_GEN_AUTORUN), BST_UNCHECKED);
    EXPECT_EQ(Items().GetCheck(IDC_GEN_AUTO_SHUTDOWN), BST_UNCHECKED);
    ASSERT_EQ(Items().GetCount(IDC_GEN_METHOD), 2);
    EXPECT_EQ(Items().GetItemText(IDC_GEN_METHOD),
              "Desktop autostart (conventional, default) - Recommended!");
    EXPECT_EQ(Items().GetLBText(IDC_GEN_METHOD, 1),
              "systemd user unit (boot-time, with lingering)");
    ASSERT_EQ(Items().GetCount(IDC_GEN_TIME), 96);
    for (int i = 0; i < 96; ++i) {
        char szTime[8];
        std::snprintf(szTime, sizeof szTime, "%02d:%02d", i / 4, i % 4 * 15);
        EXPECT_EQ(Items().GetLBText(IDC_GEN_TIME, i), szTime);
    }
    EXPECT_EQ(Items().GetCurSel(IDC_GEN_TIME), 84);
    ExpectEnabled(kMethodLine, false);
    ExpectEnabled(kTimeLines, false);
    ExpectEnabled(
        {IDC_GEN_GRP_AUTORUN, IDC_GEN_AUTORUN, IDC_GEN_GRP_SHUTDOWN, IDC_GEN_AUTO_SHUTDOWN}, true);
    // Confirmed unchanged, the empty time comes back as the time shown.
    AppSettings expected;
    expected.sShutdownTime = "21:00";
    EXPECT_EQ(SettingsText(Stored(m_page)), SettingsText(expected));
}

TEST_F(GeneralPageTest, StoredTimeIsFoundByItsBeginning) {
    struct {
        const char* pszStored;
        const char* pszShown;
    } const cases[] = {
        {"07:30", "07:30"}, {"7:30", "21:00"}, {"", "21:00"},     {"00:00", "00:00"},
        {"23:45", "23:45"}, {"12:3", "12:30"}, {"noon", "21:00"},
    };
    for (const auto& c : cases) {
        CGeneralPage page(m_registry);
        m_settings.sShutdownTime = c.pszStored;
        Open(page);
        EXPECT_EQ(Items().GetItemText(IDC_GEN_TIME), c.pszShown) << c.pszStored;
        EXPECT_EQ(Stored(page).sShutdownTime, c.pszShown) << c.pszStored;
    }
}

TEST_F(GeneralPageTest, MethodOutsideTheListShowsNoneAndComesBackAsMinusOne) {
    for (int nMethod : {2, -1}) {
        CGeneralPage page(m_registry);
        m_settings.iAutoRunMethod = nMethod;
        Open(page);
        EXPECT_EQ(Items().GetItemText(IDC_GEN_METHOD), "") << nMethod;
        EXPECT_EQ(Stored(page).iAutoRunMethod, -1) << nMethod;
    }
}

TEST_F(GeneralPageTest, EachCheckBoxGovernsItsOwnLinesOnly) {
    Open(m_page);
    Items().Click(IDC_GEN_AUTORUN);
    ExpectEnabled(kMethodLine, true);
    ExpectEnabled(kTimeLines, false);
    Items().Click(IDC_GEN_AUTO_SHUTDOWN);
    Items().Click(IDC_GEN_AUTORUN);
    ExpectEnabled(kMethodLine, false);
    ExpectEnabled(kTimeLines, true);
    Items().Click(IDC_GEN_AUTO_SHUTDOWN);
    ExpectEnabled(kTimeLines, false);
}

TEST_F(GeneralPageTest, LoadsAndStoresEveryField) {
    m_settings.bAutoRun = 1;
    m_settings.iAutoRunMethod = 1;
    m_settings.bAutoShutdown = 7; // any nonzero flag shows checked and comes back as 1
    m_settings.sShutdownTime = "06:45";
    Open(m_page);
    ExpectEnabled(kMethodLine, true);
    ExpectEnabled(kTimeLines, true);
    AppSettings expected;
    expected.bAutoRun = 1;
    expected.iAutoRunMethod = 1;
    expected.bAutoShutdown = 1;
    expected.sShutdownTime = "06:45";
    EXPECT_EQ(SettingsText(Stored(m_page)), SettingsText(expected));

    // What the user changes comes back, whether its control is enabled or not.
    Items().Choose(IDC_GEN_METHOD, 0);
    Items().Choose(IDC_GEN_TIME, 95);
    Items().Click(IDC_GEN_AUTORUN);
    Items().Click(IDC_GEN_AUTO_SHUTDOWN);
    expected = AppSettings();
    expected.sShutdownTime = "23:45";
    EXPECT_EQ(SettingsText(Stored(m_page)), SettingsText(expected));
}

} // namespace
