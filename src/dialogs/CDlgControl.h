#pragma once

#include <string>

namespace tarnwick {

class IDialogItems;

// A control object attached to one control of a dialog window by its id, as a subclassed
// window is: its operations reach the control, and the page hands it the notifications the
// control sends about itself and the keys typed into it.
class CDlgControl {
public:
    CDlgControl() = default;
    virtual ~CDlgControl() = default;
    CDlgControl(const CDlgControl&) = delete;
    CDlgControl& operator=(const CDlgControl&) = delete;

    void Attach(IDialogItems& items, int nID);
    void Detach();
    bool IsAttached() const { return m_pItems != nullptr; }
    int GetDlgCtrlID() const { return m_nID; }

    std::string GetItemText();
    void SetItemText(const std::string& strText);
    void EnableWindow(bool bEnable);
    bool IsWindowEnabled();

    // A notification the control sent about itself; true when the object took it, so the
    // page's own handlers do not see it.
    virtual bool OnReflect(int nCode);
    // A key typed while the control has the focus, before the dialog or any accelerator of
    // an ancestor sees it; true when the control keeps the key for itself.
    virtual bool PreTranslateKey(int nKey);
    // Default processing of a message that reached the control: runs for every operation
    // through the object and once when the page has attached its controls.
    virtual void DefWndProc() {}

protected:
    // The control's window for one message, after the object's default processing; nullptr
    // while the object is not attached.
    IDialogItems* Send();

    int m_nID = 0;

private:
    IDialogItems* m_pItems = nullptr;
};

// Edits and labels need nothing beyond the window text and the enabled state.
using CEdit = CDlgControl;
using CStatic = CDlgControl;

} // namespace tarnwick
