#pragma once

#include <string>

namespace tarnwick {

// Notification codes a control sends to the window that holds it.
namespace BN {
inline constexpr int Clicked = 0;
} // namespace BN
namespace CBN {
inline constexpr int SelChange = 1;
} // namespace CBN
namespace EN {
inline constexpr int KillFocus = 0x0200;
} // namespace EN

// Answers of the list operations.
namespace CB {
inline constexpr int Err = -1;
} // namespace CB

// Check states of a check box.
namespace BST {
inline constexpr int Unchecked = 0;
inline constexpr int Checked = 1;
} // namespace BST

// Keys that the dialog code gives a meaning to.
namespace VK {
inline constexpr int Return = 0x0D;
inline constexpr int Delete = 0x2E;
} // namespace VK

// The controls of one dialog window, addressed by control id. A frontend implements it over
// its widgets; every call on an id without a control does nothing and answers as for an
// empty, unchecked, disabled control.
class IDialogItems {
public:
    virtual ~IDialogItems() = default;

    virtual bool HasItem(int nID) const = 0;
    virtual void EnableItem(int nID, bool bEnable) = 0;
    // The control's own enabled state, whatever its parents'.
    virtual bool IsItemEnabled(int nID) const = 0;

    // The window text: a label's or button's caption, an edit's text, a combo box's edit
    // field or, for a list-only combo box, the text of its selected item.
    virtual std::string GetItemText(int nID) const = 0;
    virtual void SetItemText(int nID, const std::string& strText) = 0;

    virtual int GetCheck(int nID) const = 0;
    virtual void SetCheck(int nID, int nCheck) = 0;

    // The list of a combo box. A sorted list (CBS::Sort) inserts each string at its place
    // in the order without regard to case; the index of the new item is returned.
    virtual int AddString(int nID, const std::string& strText) = 0;
    virtual int GetCount(int nID) const = 0;
    virtual std::string GetLBText(int nID, int nIndex) const = 0;
    // The selected index, or CB::Err when nothing is selected.
    virtual int GetCurSel(int nID) const = 0;
    // Selects nIndex; an index outside the list removes the selection and answers CB::Err.
    virtual int SetCurSel(int nID, int nIndex) = 0;
    // Selects the first item, searching from the one after nStartAfter and wrapping round,
    // that begins with strPrefix without regard to case; the index, or CB::Err (selection
    // unchanged) when none does or strPrefix is empty.
    virtual int SelectString(int nID, int nStartAfter, const std::string& strPrefix) = 0;
};

} // namespace tarnwick
