#pragma once

#include <vector>

namespace tarnwick {

class CDlgControl;
class IDialogCommandTarget;
class IDialogItems;

// A dialog that lives as a page inside a tab control. It knows its own template, so the tab
// host can create its window, and it hands Enter and Escape on to the dialog that contains
// it, so a page never ends itself.
class CTabPageDlg {
public:
    explicit CTabPageDlg(unsigned nIDTemplate) : m_nTemplateID(nIDTemplate) {}
    virtual ~CTabPageDlg() = default;
    CTabPageDlg(const CTabPageDlg&) = delete;
    CTabPageDlg& operator=(const CTabPageDlg&) = delete;

    unsigned GetTemplateID() const { return m_nTemplateID; }

    // The dialog that Enter and Escape inside the page act on; nullptr for none.
    void SetParentOwner(IDialogCommandTarget* pOwner) { m_pParentOwner = pOwner; }

    // Called by the frontend once the page's window exists: attaches the control objects,
    // lets each of them see its first message, and runs the page's initialisation.
    bool Create(IDialogItems& items);
    // Called by the frontend when the page's window goes: the control objects let go of it.
    void DestroyWindow();
    bool IsWindowCreated() const { return m_pItems != nullptr; }
    IDialogItems* GetItems() const { return m_pItems; }

    // A notification from control nID: the control object attached to it sees it first,
    // then the page's own handlers.
    void OnNotify(int nID, int nCode);
    // A key typed into control nID: true when that control keeps it, so neither the page
    // nor the dialog nor an accelerator may act on it.
    bool PreTranslateKey(int nID, int nKey);

    // Enter and Escape inside the page: the containing dialog's OK and Cancel.
    virtual void OnOK();
    virtual void OnCancel();

protected:
    // Attaches the page's control objects with DDX_Control.
    virtual void DoDataExchange() {}
    // One-time set-up once the window exists; the base adds the list entries that the
    // template carries. True to leave the focus where the dialog puts it.
    virtual bool OnInitDialog();
    // A notification no control object took; true when the page handled it.
    virtual bool OnCommand(int nID, int nCode);

    void DDX_Control(int nID, CDlgControl& control);

private:
    const unsigned m_nTemplateID;
    IDialogItems* m_pItems = nullptr;
    IDialogCommandTarget* m_pParentOwner = nullptr;
    std::vector<CDlgControl*> m_controls;
};

} // namespace tarnwick
