// The "LPT Resetter" page: the port, the masks, the times and the options, and the page
// without the port-I/O module.
#include "CFakeServices.h"
#include "CPageHarness.h"

#include "app/CTarnwickApp.h"
#include "dialogs/CLptResetterPage.h"
#include "engine/CMainFrame.h"
#include "res/DialogIds.h"
#include "res/Resource.h"

namespace {

constexpr std::initializer_list<int> kResetterControls = {
    IDC_LPT_ST_DATA_MASK,   IDC_LPT_DATA_MASK,    IDC_LPT_ST_CTRL_MASK, IDC_LPT_CTRL_MASK,
    IDC_LPT_ST_OFF_TIME,    IDC_LPT_OFF_TIME,     IDC_LPT_ST_OFF_SEC,   IDC_LPT_GRP_RESET,
    IDC_LPT_GRP_BEFORE_OFF, IDC_LPT_GRP_AFTER_ON, IDC_LPT_ST_WAIT,      IDC_LPT_ST_WAIT_SEC,
    IDC_LPT_HANG_UP,        IDC_LPT_REESTABLISH,  IDC_LPT_WAIT_TIME,    IDC_LPT_POWER_ON};
constexpr std::initializer_list<int> kWaitLine = {IDC_LPT_ST_WAIT, IDC_LPT_WAIT_TIME,
                                                  IDC_LPT_ST_WAIT_SEC};

class LptResetterPageTest : public CPageHarness {
protected:
    void SetUp() override { ASSERT_TRUE(m_bStarted); }

    CFakeServices m_fakes;
    CTarnwickApp m_app{m_fakes.services};
    bool m_bStarted = m_app.InitInstance(); // the page asks the frame for the port module
    CLptResetterPage m_page{m_registry, m_app.GetMainWnd()};
};

TEST_F(LptResetterPageTest, DefaultsWithTheModuleLoaded) {
    ASSERT_TRUE(m_app.GetMainWnd()->IsPortLibLoaded());
    Open(m_page);
    ASSERT_EQ(Items().GetCount(IDC_LPT_PORT), 4);
    EXPECT_EQ(Items().GetLBText(IDC_LPT_PORT, 0), "<none>");
    EXPECT_EQ(Items().GetLBText(IDC_LPT_PORT, 3), "LPT3");
    EXPECT_EQ(Items().GetItemText(IDC_LPT_PORT), "LPT1");
    EXPECT_EQ(Items().GetItemText(IDC_LPT_DATA_MASK), "00");
    EXPECT_EQ(Items().GetItemText(IDC_LPT_CTRL_MASK), "04");
    EXPECT_EQ(Items().GetItemText(IDC_LPT_OFF_TIME), "3");
    EXPECT_EQ(Items().GetItemText(IDC_LPT_WAIT_TIME), "15");
    EXPECT_EQ(Items().GetItemText(IDC_LPT_LIB_STATUS), "");
    for (const SDlgItemTemplate& item : FindDialogTemplate(IDD_LPTRESETTER)->items)
        EXPECT_TRUE(Items().IsItemEnabled(item.nID)) << "control " << item.nID;
    EXPECT_EQ(SettingsText(Stored(m_page)), SettingsText(AppSettings()));
}

TEST_F(LptResetterPageTest, PortChoiceGovernsTheResetterAndTheWaitLineFollowsItsBox) {
    Open(m_page);
    Items().Choose(IDC_LPT_PORT, 0);
    ExpectEnabled(kResetterControls, false);
    ExpectEnabled({IDC_LPT_ST_PORT, IDC_LPT_PORT, IDC_LPT_LIB_STATUS}, true);

    Items().Choose(IDC_LPT_PORT, 2);
    ExpectEnabled(kResetterControls, true);
    Items().Click(IDC_LPT_REESTABLISH);
    ExpectEnabled(kWaitLine, false);
    Items().Choose(IDC_LPT_PORT, 0);
    Items().Choose(IDC_LPT_PORT, 3);
    ExpectEnabled(kWaitLine, false); // the box is still clear
    Items().Click(IDC_LPT_REESTABLISH);
    ExpectEnabled(kResetterControls, true);
}

TEST_F(LptResetterPageTest, StoresThePortWithTheAddressesOfItsTableRow) {
    struct {
        int nIndex;
        int nDataPort;
        int nCtrlPort;
    } const cases[] = {{0, 0, 0}, {1, 888, 890}, {2, 632, 634}, {3, 0x3BC, 0x3BE}};
    Open(m_page);
    for (const auto& c : cases) {
        Items().Choose(IDC_LPT_PORT, c.nIndex);
        const AppSettings s = Stored(m_page);
        EXPECT_EQ(s.iLptPort, c.nIndex);
        EXPECT_EQ(s.iDataPort, c.nDataPort) << c.nIndex;
        EXPECT_EQ(s.iCtrlPort, c.nCtrlPort) << c.nIndex;
    }
}

TEST_F(LptResetterPageTest, PortOutsideTheTableShowsNoneAndStoresNoAddress) {
    for (int nPort : {4, -1}) {
        CLptResetterPage page(m_registry, m_app.GetMainWnd());
        m_settings.iLptPort = nPort;
        Open(page);
        EXPECT_EQ(Items().GetCurSel(IDC_LPT_PORT), CB_ERR);
        ExpectEnabled(kResetterControls, false);
        const AppSettings s = Stored(page);
        EXPECT_EQ(s.iLptPort, -1);
        EXPECT_EQ(s.iDataPort, 0);
        EXPECT_EQ(s.iCtrlPort, 0);
    }
}

TEST_F(LptResetterPageTest, LoadsAndStoresEveryField) {
    AppSettings loaded;
    loaded.iLptPort = 2;
    loaded.iDataPort = 0x278;
    loaded.iCtrlPort = 0x27A;
    loaded.iDataPortMask = 0xFF;
    loaded.iCtrlPortMask = 0x0B;
    loaded.iModemOffTime = 30;
    loaded.iModemWaitTime = 5;
    loaded.bMakeSureModemOn = 0;
    loaded.bTryToHangUp = 0;
    loaded.bTryToReestablish = 0;
    m_settings = loaded;
    Open(m_page);
    EXPECT_EQ(Items().GetItemText(IDC_LPT_DATA_MASK), "FF");
    EXPECT_EQ(Items().GetItemText(IDC_LPT_CTRL_MASK), "0B");
    ExpectEnabled(kWaitLine, false);
    EXPECT_EQ(SettingsText(Stored(m_page)), SettingsText(loaded));
    Items().Choose(IDC_LPT_CTRL_MASK, 255);
    EXPECT_EQ(Stored(m_page).iCtrlPortMask, 255);
}

TEST_F(LptResetterPageTest, OutOfRangeValuesAreClampedOrUnselected) {
    m_settings.iModemOffTime = 0;
    m_settings.iModemWaitTime = 200;
    m_settings.iDataPortMask = 300;
    m_settings.iCtrlPortMask = -5;
    Open(m_page);
    EXPECT_EQ(Items().GetItemText(IDC_LPT_OFF_TIME), "1");
    EXPECT_EQ(Items().GetItemText(IDC_LPT_WAIT_TIME), "90");
    EXPECT_EQ(Items().GetItemText(IDC_LPT_DATA_MASK), "");
    AppSettings s = Stored(m_page);
    EXPECT_EQ(s.iModemOffTime, 1);
    EXPECT_EQ(s.iModemWaitTime, 90);
    EXPECT_EQ(s.iDataPortMask, -1);
    EXPECT_EQ(s.iCtrlPortMask, -1);
    // Typed and confirmed without leaving the field.
    Items().Type(IDC_LPT_OFF_TIME, "45");
    Items().Type(IDC_LPT_WAIT_TIME, "");
    s = Stored(m_page);
    EXPECT_EQ(s.iModemOffTime, 30);
    EXPECT_EQ(s.iModemWaitTime, 5);
}

TEST(LptResetterPageAlone, WithoutTheModuleThePageSaysSoAndCannotBeUsed) {
    CFakeServices fakes;
    fakes.modules.m_bPresent = false;
    CTarnwickApp app(fakes.services);
    ASSERT_TRUE(app.InitInstance());
    for (CMainFrame* pFrame : {app.GetMainWnd(), static_cast<CMainFrame*>(nullptr)}) {
        CPageRegistry registry;
        CLptResetterPage page(registry, pFrame);
        CFakeDialogItems items(*FindDialogTemplate(IDD_LPTRESETTER));
        ASSERT_TRUE(page.Create(items));
        AppSettings settings;
        page.Bind(&settings);
        EXPECT_EQ(items.GetItemText(IDC_LPT_LIB_STATUS),
                  "ERROR!!! Library libinpout32.so not found.");
        for (const SDlgItemTemplate& item : FindDialogTemplate(IDD_LPTRESETTER)->items)
            EXPECT_EQ(items.IsItemEnabled(item.nID), item.nID == IDC_LPT_LIB_STATUS) << item.nID;
        // Loaded and stored as usual.
        settings = AppSettings();
        settings.iLptPort = 3;
        page.StoreIfBound();
        EXPECT_EQ(SettingsText(settings), SettingsText(AppSettings()));
    }
}

} // namespace
