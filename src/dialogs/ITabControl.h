#pragma once

#include <string>

namespace tarnwick {

class CTabPageDlg;

// The tab control's notifications.
namespace TCN {
inline constexpr int SelChange = -551; // the selected tab changed
}

// A rectangle in pixels: left, top, right, bottom.
struct SRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool IsNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

// A tab control window and the page windows it holds as children.
class ITabControl {
public:
    virtual ~ITabControl() = default;

    virtual int GetItemCount() const = 0;
    // Adds a tab with a text caption at nIndex; its index, or -1.
    virtual int InsertItem(int nIndex, const std::string& strCaption) = 0;
    // The selected tab, or -1.
    virtual int GetCurSel() const = 0;
    // Selects a tab without raising the selection-changed notification.
    virtual void SetCurSel(int nIndex) = 0;
    // The page area: the client rectangle less the tab strip and the border.
    virtual SRect GetDisplayArea() const = 0;

    // Creates the page's window from its own template as a hidden child of the tab control
    // and runs the page's creation (CTabPageDlg::Create); false when it cannot.
    virtual bool CreatePage(CTabPageDlg& page) = 0;
    virtual void MovePage(CTabPageDlg& page, const SRect& rc) = 0;
    virtual void ShowPage(CTabPageDlg& page, bool bShow) = 0;
};

} // namespace tarnwick
