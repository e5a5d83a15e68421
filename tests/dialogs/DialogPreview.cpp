// Shows the parameters dialog on fake services, for looking at it: a test-only launcher.
//   dialog_preview [--tab N] [--no-port-module] [--grab FOLDER]
// With --grab it saves a picture of each page into FOLDER and ends; otherwise the dialog
// stays open until it is closed. It always runs in a sandbox of temporary folders.
#include "CFakeServices.h"
#include "CQtSandbox.h"

#include "app/CTarnwickApp.h"
#include "dialogs/CParamsDlg.h"
#include "res/ParamsDialogs.h"
#include "ui/qt/CQtFileChooser.h"
#include "ui/qt/CQtParamsDialog.h"
#include "ui/qt/CQtTabControl.h"

#include <QApplication>
#include <QFontInfo>
#include <QPixmap>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char* argv[]) {
    EnterQtSandbox(false);
    int nTab = 0;
    bool bNoPortModule = false;
    std::string strGrab;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--tab") == 0 && i + 1 < argc)
            nTab = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--no-port-module") == 0)
            bNoPortModule = true;
        else if (std::strcmp(argv[i], "--grab") == 0 && i + 1 < argc)
            strGrab = argv[++i];
    }
    QApplication application(argc, argv);

    CFakeServices fakes;
    fakes.modules.m_bPresent = !bNoPortModule;
    fakes.dialUp.m_entries = {"Provider", "Backup line"};
    CTarnwickApp app(fakes.services);
    if (!app.InitInstance())
        return 1;
    app.m_AppSettings.CurrentTab = nTab;

    CQtFileChooser chooser;
    CParamsDlg dlg(app, chooser);
    CQtParamsDialog window(dlg);
    window.InitDialog();
    const QFontInfo info(window.font());
    std::printf("font %s %gpt %dpx, base units %g x %d, dialog %d x %d\n",
                qPrintable(info.family()), info.pointSizeF(), info.pixelSize(),
                window.GetBuilder().GetBaseUnitX(), window.GetBuilder().GetBaseUnitY(),
                window.width(), window.height());
    for (unsigned nID : {130u, 131u, 132u, 133u})
        for (const SDlgItemTemplate& item : FindDialogTemplate(nID)->items)
            if (const double d = window.GetBuilder().GetFittingUnitX(item); d > 0)
                std::printf("%u %d %.2f %s\n", nID, item.nID, d, item.pszText);
    if (strGrab.empty())
        return window.exec() == QDialog::Accepted ? 0 : 2;

    window.show();
    QApplication::processEvents();
    for (int i = 0; i < window.GetTabWidget()->count(); ++i) {
        window.GetTabWidget()->setCurrentIndex(i); // as a click on the tab would
        QApplication::processEvents();
        const std::string strFile = strGrab + "/page" + std::to_string(i) + ".png";
        window.grab().save(QString::fromStdString(strFile));
        std::printf("%s\n", strFile.c_str());
    }
    return 0;
}
