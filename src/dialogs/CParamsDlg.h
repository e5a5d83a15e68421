#pragma once

#include "dialogs/CGeneralPage.h"
#include "dialogs/CLptResetterPage.h"
#include "dialogs/CPageRegistry.h"
#include "dialogs/CPageTabCtrl.h"
#include "dialogs/CWatchDoggingPage.h"
#include "dialogs/IDialogCommandTarget.h"
#include "engine/AppSettings.h"

namespace tarnwick {

class IParamsHost;
class IDialogWindow;
class IFileChooser;

// The "Tarnwick Parameters" dialog: three pages on a copy of the application's settings.
// OK stores the pages into the copy, copies it back, saves it and applies it as start-up
// does; Cancel keeps nothing but the tab that was selected.
class CParamsDlg : public IDialogCommandTarget {
public:
    CParamsDlg(IParamsHost& host, IFileChooser& fileChooser);

    // The window exists: creates the pages on the tab control, opens the remembered tab
    // and loads the pages from the working copy. False when the window has no tab control.
    bool OnInitDialog(IDialogWindow& window);
    void OnOK();
    void OnCancel();
    // The window goes (after OK and Cancel alike): the selected tab is remembered in the
    // application's settings, in memory only.
    void OnDestroy();

    // OK and Cancel, from the buttons, from Enter and Escape, or from inside a page.
    void OnDialogCommand(int nID) override;
    // A notification from a control of the dialog itself.
    void OnNotify(int nID, int nCode);

    CGeneralPage& GetGeneralPage() { return m_pageGeneral; }
    CWatchDoggingPage& GetWatchDoggingPage() { return m_pageWatchDogging; }
    CLptResetterPage& GetLptResetterPage() { return m_pageLptResetter; }

private:
    IParamsHost& m_host;
    IDialogWindow* m_pWindow = nullptr;
    // The pages register here as they are constructed, so it comes before them.
    CPageRegistry m_registry;
    CPageTabCtrl m_tab;
    AppSettings m_settings;
    CGeneralPage m_pageGeneral;
    CWatchDoggingPage m_pageWatchDogging;
    CLptResetterPage m_pageLptResetter;
};

} // namespace tarnwick
