// The value controls, the list semantics they rest on, the enabling helper, the page
// registry and the tab host's rules.
#include "CFakeDialogItems.h"
#include "CFakeDialogWindow.h"

#include "app/AppSettings.h"
#include "dialogs/CComboList.h"
#include "dialogs/CHexCombo.h"
#include "dialogs/CNumEdit.h"
#include "dialogs/CPageDlg.h"
#include "dialogs/CPageRegistry.h"
#include "dialogs/CPageTabCtrl.h"
#include "dialogs/EnableDlgItems.h"
#include "res/DialogIds.h"
#include "res/ParamsDialogs.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

std::vector<std::string> Items(const CComboList& list) {
    std::vector<std::string> items;
    for (int i = 0; i < list.GetCount(); ++i)
        items.push_back(list.GetText(i));
    return items;
}

TEST(ComboListTest, SortedListIgnoresCaseAndKeepsEqualItemsInArrivalOrder) {
    CComboList sorted(true);
    for (const char* psz : {"beta", "Alpha", "alpha", "<none>", "LPT1", "Gamma", "ALPHA"})
        sorted.AddString(psz);
    EXPECT_EQ(Items(sorted), (std::vector<std::string>{"<none>", "Alpha", "alpha", "ALPHA", "beta",
                                                       "Gamma", "LPT1"}));
}

TEST(ComboListTest, FixedListsSortIntoTheirTableOrder) {
    // Each of these lists is indexed by the value it stands for.
    std::vector<std::vector<std::string>> lists = {
        {g_AutorunMethodNames.begin(), g_AutorunMethodNames.end()},
        {"<none>", "LPT1", "LPT2", "LPT3"},
        {"00", "09", "0A", "0F", "10", "9F", "A0", "FF"},
        {"00:00", "00:15", "09:45", "10:00", "21:00", "23:45"},
    };
    for (const auto& table : lists) {
        CComboList list(true);
        for (const std::string& str : table)
            list.AddString(str);
        EXPECT_EQ(Items(list), table);
    }
}

TEST(ComboListTest, PrefixSearchStartsAfterTheGivenItemAndWraps) {
    CComboList list;
    for (const char* psz : {"Work", "home", "Work 2", "workshop"})
        list.AddString(psz);
    struct {
        int nStartAfter;
        const char* pszPrefix;
        int nExpected;
    } const cases[] = {
        {-1, "work", 0}, {0, "work", 2},     {2, "WORK", 3}, {3, "work", 0}, {0, "HOME", 1},
        {7, "work", 0},  {0, "Work 2x", -1}, {0, "", -1},    {1, "w", 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(list.FindStringPrefix(c.nStartAfter, c.pszPrefix), c.nExpected)
            << c.nStartAfter << " " << c.pszPrefix;
    EXPECT_EQ(CComboList().FindStringPrefix(-1, "a"), -1);
}

// A one-edit window to attach the value controls to.
constexpr SDlgItemTemplate kEditItems[] = {
    {10, EDlgItemClass::Edit, "", WS_CHILD | ES_AUTOHSCROLL, {0, 0, 10, 10}},
    {11, EDlgItemClass::ComboBox, "", WS_CHILD | CBS_DROPDOWNLIST | CBS_SORT, {0, 0, 10, 10}},
    {12, EDlgItemClass::Static, "label", WS_CHILD, {0, 0, 10, 10}},
};
constexpr SDlgTemplate kEditTemplate{1, WS_CHILD, 100, 100, "", 8, "", kEditItems, {}};

TEST(NumEditTest, ShowsClampsAndReadsAsAtoi) {
    struct {
        bool bRange;
        int nMin;
        int nMax;
        const char* pszTyped;
        int nRead;            // GetValue before leaving
        const char* pszShown; // after leaving the field
    } const cases[] = {
        {true, 1, 30, "45sec", 45, "30"},
        {true, 1, 30, "abc", 0, "1"},
        {true, 1, 30, "007", 7, "7"},
        {true, 1, 30, "1", 1, "1"},
        {true, 1, 30, "30", 30, "30"},
        {true, 1, 30, "31", 31, "30"},
        {true, 1, 30, "  +12 ", 12, "12"},
        {true, 5, 90, "", 0, "5"},
        {false, 0, 0, "-12x", -12, "-12"},
        {false, 0, 0, "", 0, "0"},
        {true, 1, 10000, "99999999999", 2147483647, "10000"},
        {true, 1, 10000, "-99999999999", -2147483647 - 1, "1"},
        {false, 0, 0, "2147483648", 2147483647, "2147483647"},
    };
    for (const auto& c : cases) {
        CFakeDialogItems items(kEditTemplate);
        CNumEdit edit;
        if (c.bRange)
            edit.SetRange(c.nMin, c.nMax);
        edit.Attach(items, 10);
        items.Type(10, c.pszTyped);
        EXPECT_EQ(edit.GetValue(), c.nRead) << c.pszTyped;
        EXPECT_EQ(edit.OnReflect(EN_KILLFOCUS), true);
        EXPECT_EQ(items.GetItemText(10), c.pszShown) << c.pszTyped;
    }
}

TEST(NumEditTest, SetValueClampsOnlyWithARangeAndOnlyDeleteIsKeptFromTheDialog) {
    CFakeDialogItems items(kEditTemplate);
    CNumEdit edit;
    edit.Attach(items, 10);
    edit.SetValue(-5);
    EXPECT_EQ(items.GetItemText(10), "-5");
    edit.SetRange(1, 30);
    EXPECT_EQ(items.GetItemText(10), "-5"); // the text shown stays as it is
    EXPECT_EQ(edit.GetClampedValue(), 1);
    edit.SetValue(100);
    EXPECT_EQ(items.GetItemText(10), "30");
    EXPECT_TRUE(edit.PreTranslateKey(VK_DELETE));
    EXPECT_FALSE(edit.PreTranslateKey(VK_RETURN));
}

TEST(HexComboTest, FillsOnItsFirstMessageAndSelectsTheValueSetBefore) {
    CFakeDialogItems items(kEditTemplate);
    CHexCombo combo;
    combo.SetValue(4); // no window yet: only remembered
    combo.Attach(items, 11);
    EXPECT_FALSE(combo.IsFilled());
    EXPECT_EQ(items.GetCount(11), 0);
    combo.DefWindowProc();
    ASSERT_TRUE(combo.IsFilled());
    ASSERT_EQ(items.GetCount(11), 256);
    EXPECT_EQ(items.GetItemText(11), "04");
    for (int i : {0, 9, 10, 15, 16, 160, 255}) {
        char szText[3];
        std::snprintf(szText, sizeof szText, "%02X", static_cast<unsigned>(i));
        EXPECT_EQ(items.GetLBText(11, i), szText); // the sorted list keeps index == value
    }
    combo.DefWindowProc(); // filled once only
    EXPECT_EQ(items.GetCount(11), 256);

    struct {
        int nValue;
        int nRead;
        const char* pszShown;
    } const cases[] = {{255, 255, "FF"}, {0, 0, "00"}, {256, -1, ""}, {-1, -1, ""}, {10, 10, "0A"}};
    for (const auto& c : cases) {
        combo.SetValue(c.nValue);
        EXPECT_EQ(combo.GetValue(), c.nRead) << c.nValue;
        EXPECT_EQ(items.GetItemText(11), c.pszShown) << c.nValue;
    }
}

TEST(EnableDlgItemsTest, SkipsIdsWithoutAControl) {
    CFakeDialogItems items(kEditTemplate);
    const int ids[] = {10, 999, 12};
    EnableDlgItems(&items, ids, 3, false);
    EXPECT_FALSE(items.IsItemEnabled(10));
    EXPECT_FALSE(items.IsItemEnabled(12));
    EXPECT_TRUE(items.IsItemEnabled(11));
    EnableDlgItems(&items, ids, 0, true);
    EnableDlgItems(&items, ids, -1, true);
    EXPECT_FALSE(items.IsItemEnabled(10));
    EnableDlgItems(&items, ids, 1, true);
    EXPECT_TRUE(items.IsItemEnabled(10));
    EXPECT_FALSE(items.IsItemEnabled(12));
}

// A page that records when it is loaded and stored.
class CRecordingPage : public CPageDlg {
public:
    CRecordingPage(CPageRegistry& registry, std::vector<const CPageDlg*>& log)
        : CPageDlg(registry, IDD_GENERAL), m_log(log) {}
    int m_nStores = 0;

protected:
    void LoadSettings() override { m_log.push_back(this); }
    void StoreSettings() override {
        ++m_nStores;
        m_log.push_back(this);
    }

private:
    std::vector<const CPageDlg*>& m_log;
};

TEST(PageRegistryTest, VisitsLivePagesInAddressOrderForExactlyTheirLifetime) {
    CPageRegistry registry;
    std::vector<const CPageDlg*> log;
    {
        struct {
            CRecordingPage a, b, c;
        } pages{{registry, log}, {registry, log}, {registry, log}};
        EXPECT_EQ(registry.GetCount(), 3u);

        registry.StoreAllPages(); // nothing is bound yet
        EXPECT_TRUE(log.empty());

        AppSettings settings;
        registry.BindAllPages(&settings);
        EXPECT_EQ(log, (std::vector<const CPageDlg*>{&pages.a, &pages.b, &pages.c}));
        log.clear();
        registry.StoreAllPages();
        EXPECT_EQ(log, (std::vector<const CPageDlg*>{&pages.a, &pages.b, &pages.c}));

        // A page constructed at a lower address is visited first, bound or not.
        CPageRegistry other;
        std::array<std::optional<CRecordingPage>, 2> late;
        late[1].emplace(other, log);
        late[0].emplace(other, log);
        log.clear();
        other.BindAllPages(&settings);
        EXPECT_EQ(log, (std::vector<const CPageDlg*>{&*late[0], &*late[1]}));
        late[0].reset();
        EXPECT_EQ(other.GetCount(), 1u);
        EXPECT_EQ(registry.GetCount(), 3u); // registries are independent
    }
    EXPECT_EQ(registry.GetCount(), 0u);
}

// The rules of the tab host, on three pages.
class CPageTabCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_tab.Attach(m_window, nullptr);
        m_window.m_fnSelChange = [this] { m_tab.OnSelChange(); };
    }
    void AddAll() { m_tab.AddPages(g_ParamsTabCaptions.data(), m_pPages.data(), 3); }
    bool Shown(int i) { return m_window.IsVisible(*m_pPages[static_cast<std::size_t>(i)]); }

    CPageRegistry m_registry;
    std::vector<const CPageDlg*> m_log;
    CRecordingPage m_pages[3]{{m_registry, m_log}, {m_registry, m_log}, {m_registry, m_log}};
    std::array<CTabPageDlg*, 3> m_pPages{&m_pages[0], &m_pages[1], &m_pages[2]};
    CFakeTabControl m_window;
    CPageTabCtrl m_tab;
};

TEST_F(CPageTabCtrlTest, AddsOneTabPerNewPageHiddenAndSizedToThePageArea) {
    m_tab.AddPages(g_ParamsTabCaptions.data(), m_pPages.data(), 0);
    EXPECT_EQ(m_tab.GetItemCount(), 0);
    AddAll();
    EXPECT_EQ(m_window.m_tabs,
              (std::vector<std::string>{"General", "WatchDogging", "LPT Resetter"}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(Shown(i));
        const SRect rc = m_window.m_pages[m_pPages[static_cast<std::size_t>(i)]].rc;
        EXPECT_EQ(rc.top, 24);
        EXPECT_EQ(rc.right, 596);
    }
    EXPECT_EQ(m_window.m_nDisplayAreaCalls, 1); // computed once, then kept
    AddAll();                                   // their windows exist now: no tab is added twice
    EXPECT_EQ(m_tab.GetItemCount(), 3);
    EXPECT_EQ(m_tab.GetPageCount(), 3);
}

TEST_F(CPageTabCtrlTest, ShowsExactlyTheSelectedPage) {
    AddAll();
    m_tab.SelectPage(2, true);
    EXPECT_EQ(m_window.m_nCurSel, 2);
    EXPECT_TRUE(Shown(2));
    m_window.ClickTab(1);
    EXPECT_TRUE(Shown(1));
    EXPECT_FALSE(Shown(2));
    EXPECT_FALSE(Shown(0));
    EXPECT_EQ(m_tab.GetCurrentPage(), 1);
    // An index outside the pages hides the page and leaves the tab selection alone.
    m_tab.SelectPage(-1, true);
    EXPECT_FALSE(Shown(1));
    EXPECT_EQ(m_window.m_nCurSel, 1);
    EXPECT_EQ(m_tab.GetCurrentPage(), -1);
    m_tab.SelectPage(0, false); // without the tab
    EXPECT_TRUE(Shown(0));
    EXPECT_EQ(m_window.m_nCurSel, 1);
}

} // namespace
