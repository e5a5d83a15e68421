#pragma once

#include "dialogs/IDialogWindow.h"
#include "ui/qt/CQtDialogBuilder.h"

#include <QDialog>

#include <map>

class QPushButton;

namespace tarnwick {

class CParamsDlg;
class CQtTabControl;

// The window of the parameters dialog, built from template 130: OK, Cancel and the tab
// control that holds the three pages. It stays on top of other windows and has no close
// button, nor minimise or maximise ones. OK, Cancel, Enter and Escape go to the dialog object,
// which decides.
class CQtParamsDialog : public QDialog, public IDialogWindow {
public:
    explicit CQtParamsDialog(CParamsDlg& dlg, QWidget* pParent = nullptr);
    // The dialog object hears that its window goes.
    ~CQtParamsDialog() override;

    // Creates the pages and loads them; false when the dialog object refuses.
    bool InitDialog();
    // InitDialog, then the modal loop; the result is QDialog's.
    int DoModal();

    ITabControl* GetTabControl(int nID) override;
    void EndDialog(int nResult) override;

    // Escape and a close request from the window manager are Cancel.
    void reject() override;

    // The units of the dialog's template for this font; where the dialog would not fit into
    // the available size, for a smaller font.
    static CQtDialogBuilder FitToScreen(const QFont& font, const QSize& available);
    // The primary screen's free area, less the window manager's frame.
    static QSize AvailableClientSize();

    CQtTabControl* GetTabWidget() const { return m_pTab; }
    QPushButton* GetButton(int nID) const;
    const std::map<int, QWidget*>& GetItems() const { return m_widgets; }
    const CQtDialogBuilder& GetBuilder() const { return m_builder; }

private:
    CParamsDlg& m_dlg;
    CQtDialogBuilder m_builder;
    std::map<int, QWidget*> m_widgets;
    CQtTabControl* m_pTab = nullptr;
    bool m_bInitialised = false;
};

} // namespace tarnwick
