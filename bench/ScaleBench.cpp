// Prints how long the tray menu and the parameters dialog at the WatchDogging page take to
// open with 1, 100 and 1000 connection profiles in the NetworkManager stand-in (one of them
// active): from the right click (or the Settings command) to the menu or dialog drawn by Qt
// on the offscreen platform.
//
//   scale_bench [RUNS [MOST]]      (default 20 runs, 3 more warm up first; at most 1000 profiles)
#include "CBenchRig.h"
#include "Measure.h"

#include "app/CTarnwickApp.h"
#include "dialogs/CParamsDlg.h"
#include "engine/CMainFrame.h"
#include "res/Resource.h"
#include "ui/qt/CQtFileChooser.h"
#include "ui/qt/CQtMenu.h"
#include "ui/qt/CQtParamsDialog.h"

#include <QApplication>
#include <QMenu>
#include <QThread>

#include <cstdlib>

using namespace tarnwick;

namespace {
// Draws the menu the engine hands over, then closes it.
class CDrawingShellTray : public CFakeShellTray {
public:
    unsigned TrackPopupMenu(const CMenu& popup) override {
        CQtMenu menu(popup);
        menu.Menu().popup({0, 0});
        QCoreApplication::processEvents();
        menu.Menu().hide();
        return 0;
    }
};

// Opens the parameters dialog, draws it, and closes it.
class CDrawingUserInterface : public CFakeUserInterface {
public:
    void DoModalSettings(IParamsHost& host) override {
        CQtFileChooser chooser;
        CParamsDlg dlg(host, chooser);
        CQtParamsDialog window(dlg);
        window.InitDialog();
        window.show();
        QCoreApplication::processEvents();
    }
};
} // namespace

int main(int argc, char* argv[]) {
    const int nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const int nMost = argc > 2 ? std::atoi(argv[2]) : 1000;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform says at every popup what it cannot do.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& strMsg) {
        if (type != QtWarningMsg || !strMsg.startsWith(QLatin1String("This plugin does not")))
            std::fprintf(stderr, "%s\n", qPrintable(strMsg));
    });
    QApplication application(argc, argv);
    CBenchRig rig;
    if (!rig.IsReady())
        return 1;
    CDrawingShellTray shell;
    CDrawingUserInterface ui;
    CServices services = rig.Services(rig.m_fakes.net, rig.m_fakes.files, shell, ui);
    CTarnwickApp app(services);
    app.InitInstance();
    app.GetSettings().CurrentTab = 1; // the dialog opens at the WatchDogging page

    int nProfiles = 1;
    std::size_t nListed = 0;
    for (const int nWanted : {1, 100, 1000}) {
        if (nWanted > nMost)
            break;
        for (; nProfiles < nWanted; ++nProfiles)
            rig.m_mock.AddProfile(QStringLiteral("Profile %1").arg(nProfiles));
        // What NetworkManager announced about the new profiles arrives first.
        for (const QDeadlineTimer settle(500); !settle.hasExpired(); QThread::msleep(10))
            QCoreApplication::processEvents();
        const std::string strProfiles = " with " + std::to_string(nWanted) + " profiles";
        Measure(("tray menu" + strProfiles).c_str(), 3, nRuns, [&] { shell.Click(WM::RButtonUp); });
        Measure(("parameters dialog at WatchDogging" + strProfiles).c_str(), 3, nRuns,
                [&] { app.GetMainWnd()->OnCommand(ID_SETTINGS); });
        nListed = app.GetMainWnd()->LoadEntryList().size();
        if (nListed != static_cast<std::size_t>(nWanted))
            std::printf("only %zu of %d profiles listed\n", nListed, nWanted);
    }
    app.ExitInstance();
    // Figures of a menu without all the profiles measure the wrong thing.
    return nListed == static_cast<std::size_t>(nProfiles) ? 0 : 1;
}
