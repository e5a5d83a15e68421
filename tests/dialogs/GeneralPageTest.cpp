// The "General" page: autorun, its method and the automatic shutdown time.
#include "CPageHarness.h"

#include "dialogs/CGeneralPage.h"
#include "res/DialogIds.h"

#include <cstdio>

namespace {

class GeneralPageTest : public CPageHarness {
protected:
    void Open() { CPageHarness::Open(m_page); }
    AppSettings Store() {
        m_page.StoreIfBound();
        return m_settings;
    }
    CGeneralPage m_page{m_registry};
};

TEST_F(GeneralPageTest, DefaultsShowTheFirstMethodAndNineInTheEveningAllGreyed) {
    Open();
    EXPECT_EQ(Items().GetCheck(IDC_GEN_AUTORUN), BST_UNCHECKED);
    EXPECT_EQ(Items().GetCheck(IDC_GEN_AUTO_SHUTDOWN), BST_UNCHECKED);
    EXPECT_EQ(Items().GetItemText(IDC_GEN_METHOD),
              "Desktop autostart (conventional, default) - Recommended!");
    EXPECT_EQ(Items().GetItemText(IDC_GEN_TIME), "21:00");
    ExpectEnabled(
        {IDC_GEN_ST_METHOD, IDC_GEN_METHOD, IDC_GEN_ST_TIME, IDC_GEN_ST_BIOS_NOTE, IDC_GEN_TIME},
        false);
    ExpectEnabled(
        {IDC_GEN_GRP_AUTORUN, IDC_GEN_AUTORUN, IDC_GEN_GRP_SHUTDOWN, IDC_GEN_AUTO_SHUTDOWN}, true);
    // Confirmed unchanged, the empty time comes back as the time shown.
    const AppSettings s = Store();
    EXPECT_EQ(s.sShutdownTime, "21:00");
    EXPECT_EQ(s.iAutoRunMethod, 0);
    EXPECT_EQ(s.bAutoRun, 0);
    EXPECT_EQ(s.bAutoShutdown, 0);
}

TEST_F(GeneralPageTest, ListsHoldTheQuarterHoursAndTheTwoMethodsInOrder) {
    Open();
    ASSERT_EQ(Items().GetCount(IDC_GEN_TIME), 96);
    for (int i = 0; i < 96; ++i) {
        char szTime[8];
        std::snprintf(szTime, sizeof szTime, "%02d:%02d", i / 4, i % 4 * 15);
        EXPECT_EQ(Items().GetLBText(IDC_GEN_TIME, i), szTime);
    }
    EXPECT_EQ(Items().GetCurSel(IDC_GEN_TIME), 84);
    ASSERT_EQ(Items().GetCount(IDC_GEN_METHOD), 2);
    EXPECT_EQ(Items().GetLBText(IDC_GEN_METHOD, 1),
              "systemd user unit (boot-time, with lingering)");
}

TEST_F(GeneralPageTest, StoredTimeIsFoundByItsBeginning) {
    struct {
        const char* pszStored;
        const char* pszShown;
    } const cases[] = {
        {"07:30", "07:30"}, {"7:30", "21:00"}, {"", "21:00"},     {"00:00", "00:00"},
        {"23:45", "23:45"}, {"12:3", "12:30"}, {"noon", "21:00"}, {"21:00:00", "21:00"},
    };
    for (const auto& c : cases) {
        CGeneralPage page(m_registry);
        m_settings.sShutdownTime = c.pszStored;
        CPageHarness::Open(page);
        EXPECT_EQ(Items().GetItemText(IDC_GEN_TIME), c.pszShown) << c.pszStored;
        page.StoreIfBound();
        EXPECT_EQ(m_settings.sShutdownTime, c.pszShown) << c.pszStored;
    }
}

TEST_F(GeneralPageTest, MethodOutsideTheListShowsNoneAndComesBackAsMinusOne) {
    for (int nMethod : {2, -1, 1000}) {
        CGeneralPage page(m_registry);
        m_settings.iAutoRunMethod = nMethod;
        m_settings.bAutoRun = 1;
        CPageHarness::Open(page);
        EXPECT_EQ(Items().GetCurSel(IDC_GEN_METHOD), CB_ERR) << nMethod;
        EXPECT_EQ(Items().GetItemText(IDC_GEN_METHOD), "") << nMethod;
        page.StoreIfBound();
        EXPECT_EQ(m_settings.iAutoRunMethod, -1) << nMethod;
    }
}

TEST_F(GeneralPageTest, EachCheckBoxGovernsItsOwnGroupOnly) {
    Open();
    Items().Click(IDC_GEN_AUTORUN);
    ExpectEnabled({IDC_GEN_ST_METHOD, IDC_GEN_METHOD}, true);
    ExpectEnabled({IDC_GEN_ST_TIME, IDC_GEN_ST_BIOS_NOTE, IDC_GEN_TIME}, false);
    Items().Click(IDC_GEN_AUTO_SHUTDOWN);
    ExpectEnabled({IDC_GEN_ST_TIME, IDC_GEN_ST_BIOS_NOTE, IDC_GEN_TIME}, true);
    Items().Click(IDC_GEN_AUTORUN);
    ExpectEnabled({IDC_GEN_ST_METHOD, IDC_GEN_METHOD}, false);
    ExpectEnabled({IDC_GEN_ST_TIME, IDC_GEN_ST_BIOS_NOTE, IDC_GEN_TIME}, true);
    Items().Click(IDC_GEN_AUTO_SHUTDOWN);
    ExpectEnabled({IDC_GEN_ST_TIME, IDC_GEN_ST_BIOS_NOTE, IDC_GEN_TIME}, false);
}

TEST_F(GeneralPageTest, LoadsAndStoresEveryField) {
    m_settings.bAutoRun = 1;
    m_settings.iAutoRunMethod = 1;
    m_settings.bAutoShutdown = 7; // any nonzero flag shows as checked and comes back as 1
    m_settings.sShutdownTime = "06:45";
    Open();
    EXPECT_EQ(Items().GetCheck(IDC_GEN_AUTORUN), BST_CHECKED);
    EXPECT_EQ(Items().GetCurSel(IDC_GEN_METHOD), 1);
    EXPECT_EQ(Items().GetCheck(IDC_GEN_AUTO_SHUTDOWN), BST_CHECKED);
    EXPECT_EQ(Items().GetItemText(IDC_GEN_TIME), "06:45");
    ExpectEnabled(
        {IDC_GEN_ST_METHOD, IDC_GEN_METHOD, IDC_GEN_ST_TIME, IDC_GEN_ST_BIOS_NOTE, IDC_GEN_TIME},
        true);
    AppSettings s = Store();
    EXPECT_EQ(s.bAutoRun, 1);
    EXPECT_EQ(s.iAutoRunMethod, 1);
    EXPECT_EQ(s.bAutoShutdown, 1);
    EXPECT_EQ(s.sShutdownTime, "06:45");

    // What the user changes comes back, whether the control is enabled or not.
    Items().Choose(IDC_GEN_METHOD, 0);
    Items().Choose(IDC_GEN_TIME, 95);
    Items().Click(IDC_GEN_AUTORUN);
    Items().Click(IDC_GEN_AUTO_SHUTDOWN);
    s = Store();
    EXPECT_EQ(s.bAutoRun, 0);
    EXPECT_EQ(s.iAutoRunMethod, 0);
    EXPECT_EQ(s.bAutoShutdown, 0);
    EXPECT_EQ(s.sShutdownTime, "23:45");
    EXPECT_EQ(s.CurrentTab, 0); // nothing else is touched
    EXPECT_EQ(s.iMaxFaults, 3);
}

} // namespace
