// The value controls, the sorted list they rest on and the enabling helper, on controls of
// the "LPT Resetter" template.
#include "CFakeWindow.h"

#include "dialogs/CHexCombo.h"
#include "dialogs/CNumEdit.h"
#include "dialogs/EnableDlgItems.h"
#include "res/Resource.h"

#include <climits>

namespace tarnwick {

namespace {

constexpr int kEdit = IDC_LPT_OFF_TIME, kHex = IDC_LPT_DATA_MASK, kLabel = IDC_LPT_ST_PORT;

TEST(ControlsTest, SortedComboListIgnoresCaseAndKeepsEqualItemsInArrivalOrder) {
    CComboList list(true);
    std::vector<std::string> items;
    for (const char* psz : {"beta", "Alpha", "alpha", "<none>", "LPT1", "Gamma", "ALPHA"})
        list.AddString(psz);
    items.reserve(static_cast<std::size_t>(list.GetCount()));
    for (int i = 0; i < list.GetCount(); ++i)
        items.push_back(list.GetText(i));
    EXPECT_EQ(items, (std::vector<std::string>{"<none>", "Alpha", "alpha", "ALPHA", "beta", "Gamma",
                                               "LPT1"}));
}

// Typed text is read as atoi reads it and clamped once the field is left; a value set is
// clamped at once. Delete always stays with the field.
TEST(ControlsTest, NumEditReadsAsAtoiAndClamps) {
    struct {
        int nMin, nMax;       // no range when both are 0
        const char* pszTyped; // nullptr: SetValue(nRead)
        int nRead;            // before the field is left
        const char* pszShown; // after
    } const cases[] = {
        // clang-format off
        {1, 30, "45sec", 45, "30"},  {1, 30, "abc", 0, "1"}, {1, 30, "007", 7, "7"},
        {1, 30, "  +12 ", 12, "12"}, {1, 30, "1", 1, "1"},   {1, 30, "30", 30, "30"},
        {1, 30, "31", 31, "30"},     {5, 90, "", 0, "5"},    {0, 0, "-12x", -12, "-12"},
        {1, 9, "99999999999", INT_MAX, "9"}, {1, 9, "-99999999999", INT_MIN, "1"},
        {1, 30, nullptr, 100, "30"}, {0, 0, nullptr, -5, "-5"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "typed '" << (c.pszTyped ? c.pszTyped : "(set)") << "', value " << c.nRead
                     << ", range " << c.nMin << ".." << c.nMax);
        CFakeWindow window(*FindDialogTemplate(IDD_LPTRESETTER), nullptr);
        CNumEdit edit;
        if (c.nMin != 0 || c.nMax != 0)
            edit.SetRange(c.nMin, c.nMax);
        edit.Attach(window, kEdit);
        if (c.pszTyped != nullptr) {
            window.Type(kEdit, c.pszTyped);
            EXPECT_EQ(edit.GetValue(), c.nRead);
            EXPECT_TRUE(edit.OnReflect(EN::KillFocus));
        } else
            edit.SetValue(c.nRead);
        EXPECT_EQ(window.GetItemText(kEdit), c.pszShown);
        EXPECT_TRUE(edit.PreTranslateKey(VK::Delete) && !edit.PreTranslateKey(VK::Return));
    }
}

TEST(ControlsTest, HexComboFillsOnItsFirstMessageAndSelectsTheValueSetBefore) {
    CFakeWindow window(*FindDialogTemplate(IDD_LPTRESETTER), nullptr);
    CHexCombo combo;
    combo.SetValue(4); // no window yet: only remembered
    combo.Attach(window, kHex);
    EXPECT_EQ(window.GetCount(kHex), 0);
    combo.DefWndProc();
    combo.DefWndProc(); // filled once only
    EXPECT_EQ(window.GetCount(kHex), 256);
    EXPECT_EQ(window.GetItemText(kHex), "04");
    for (const auto& [nValue, pszShown] :
         {std::pair{255, "FF"}, {0, "00"}, {256, ""}, {-1, ""}, {160, "A0"}}) {
        SCOPED_TRACE(nValue);
        combo.SetValue(nValue);
        EXPECT_EQ(combo.GetValue(), *pszShown != '\0' ? nValue : CB::Err);
        EXPECT_EQ(window.GetItemText(kHex), pszShown);
    }
}

TEST(ControlsTest, EnableDlgItemsSkipsIdsWithoutAControl) {
    CFakeWindow window(*FindDialogTemplate(IDD_LPTRESETTER), nullptr);
    const int ids[] = {kEdit, 999, kLabel};
    EnableDlgItems(&window, ids, 3, false);
    EXPECT_EQ(window.Disabled(), (std::set<int>{kEdit, kLabel}));
    EnableDlgItems(&window, ids, 1, true);
    EXPECT_EQ(window.Disabled(), std::set<int>{kLabel});
}

} // namespace

} // namespace tarnwick
