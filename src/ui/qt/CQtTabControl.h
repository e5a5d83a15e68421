#pragma once

#include "dialogs/ITabControl.h"

#include <QTabWidget>

#include <functional>
#include <map>
#include <memory>

namespace tarnwick {

class CQtDialogBuilder;
class CQtDialogItems;

// A tab control whose pages are windows of their own: the tabs carry empty placeholders,
// and each page is a child of the tab control laid over the page area, shown and hidden by
// the tab host. Only a change of tab made by the user is reported.
class CQtTabControl : public QTabWidget, public ITabControl {
public:
    CQtTabControl(const CQtDialogBuilder& builder, QWidget* pParent);
    ~CQtTabControl() override;

    // Called when the user selects another tab.
    void SetSelChangeHandler(std::function<void()> fn) { m_fnSelChange = std::move(fn); }

    int GetItemCount() const override { return count(); }
    int InsertItem(int nIndex, const std::string& strCaption) override;
    int GetCurSel() const override { return currentIndex(); }
    void SetCurSel(int nIndex) override;
    SRect GetDisplayArea() const override;
    bool CreatePage(CTabPageDlg& page) override;
    void MovePage(CTabPageDlg& page, const SRect& rc) override;
    void ShowPage(CTabPageDlg& page, bool bShow) override;

    // The window of a created page, or nullptr.
    QWidget* GetPageWindow(const CTabPageDlg& page) const;
    CQtDialogItems* GetPageItems(const CTabPageDlg& page) const;

private:
    void OnCurrentChanged();

    const CQtDialogBuilder& m_builder;
    std::map<CTabPageDlg*, std::unique_ptr<CQtDialogItems>, std::less<>> m_pages;
    std::function<void()> m_fnSelChange;
    bool m_bQuiet = false; // the change comes from the program, not the user
};

} // namespace tarnwick
