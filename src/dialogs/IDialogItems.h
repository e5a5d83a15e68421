#pragma once

#include <string>

// Notification codes a control sends to the window that holds it.
inline constexpr int BN_CLICKED = 0;
inline constexpr int CBN_SELCHANGE = 1;
inline constexpr int EN_KILLFOCUS = 0x0200;

// Answers of the list operations.
inline constexpr int CB_ERR = -1;

// Check states of a check box.
inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;

// Keys that the dialog code gives a meaning to.
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_DELETE = 0x2E;

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

    // The list of a combo box. A sorted list (CBS_SORT) inserts each string at its place
    // in the order without regard to case; the index of the new item is returned.
    virtual int AddString(int nID, const std::string& strText) = 0;
    virtual int GetCount(int nID) const = 0;
    virtual std::string GetLBText(int nID, int nIndex) const = 0;
    // The selected index, or CB_ERR when nothing is selected.
    virtual int GetCurSel(int nID) const = 0;
    // Selects nIndex; an index outside the list removes the selection and answers CB_ERR.
    virtual int SetCurSel(int nID, int nIndex) = 0;
    // Selects the first item, searching from the one after nStartAfter and wrapping round,
    // that begins with strPrefix without regard to case; the index, or CB_ERR (selection
    // unchanged) when none does or strPrefix is empty.
    virtual int SelectString(int nID, int nStartAfter, const std::string& strPrefix) = 0;
};
