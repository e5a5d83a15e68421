// The parameters dialog in Qt, offscreen: the window, the tabs, the keys, OK and Cancel,
// the file choice, and the look at the default font.
#include "CFakeDialogWindow.h"
#include "CFakeServices.h"
#include "QtLayoutCheck.h"

#include "app/CTarnwickApp.h"
#include "dialogs/CParamsDlg.h"
#include "engine/TimerIds.h"
#include "res/DialogIds.h"
#include "res/Resource.h"
#include "ui/qt/CQtDialogItems.h"
#include "ui/qt/CQtFileChooser.h"
#include "ui/qt/CQtParamsDialog.h"
#include "ui/qt/CQtTabControl.h"
#include "ui/qt/CQtUserInterface.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <optional>

namespace {

class QtParamsDialogTest : public ::testing::Test {
protected:
    void Start() {
        m_fakes.dialUp.m_entries = {"Provider", "Backup"};
        ASSERT_TRUE(m_app.InitInstance());
    }
    void Open() {
        m_dlg.emplace(m_app, m_chooser);
        m_pWindow = std::make_unique<CQtParamsDialog>(*m_dlg);
        ASSERT_TRUE(m_pWindow->InitDialog());
        m_pWindow->show();
        QApplication::setActiveWindow(m_pWindow.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_pWindow.get()));
    }
    // The window goes (the dialog object hears it), then the dialog object.
    void Close() {
        m_pWindow.reset();
        m_dlg.reset();
    }
    CQtTabControl& Tabs() { return *m_pWindow->GetTabWidget(); }
    CTabPageDlg& Page(int nTab) {
        CTabPageDlg* pages[] = {&m_dlg->GetGeneralPage(), &m_dlg->GetWatchDoggingPage(),
                                &m_dlg->GetLptResetterPage()};
        return *pages[nTab];
    }
    template <typename T> T* Item(int nTab, int nID) {
        T* pWidget = qobject_cast<T*>(Tabs().GetPageItems(Page(nTab))->GetItem(nID));
        EXPECT_NE(pWidget, nullptr) << nID;
        return pWidget;
    }
    bool PageShown(int nTab) { return Tabs().GetPageWindow(Page(nTab))->isVisible(); }
    void ClickTab(int nTab) {
        QTabBar* pBar = Tabs().tabBar();
        QTest::mouseClick(pBar, Qt::LeftButton, {}, pBar->tabRect(nTab).center());
    }
    void Focus(QWidget* pWidget) {
        pWidget->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(pWidget->hasFocus());
    }
    AppSettings& Live() { return m_app.m_AppSettings; }

    CFakeServices m_fakes;
    CTarnwickApp m_app{m_fakes.services};
    CFakeFileChooser m_chooser;
    std::optional<CParamsDlg> m_dlg;
    std::unique_ptr<CQtParamsDialog> m_pWindow;
};

TEST_F(QtParamsDialogTest, OpensOnTopWithoutCloseButtonOnTheRememberedTab) {
    Start();
    Live().CurrentTab = 1;
    Open();
    EXPECT_EQ(m_pWindow->windowTitle(), "Tarnwick Parameters");
    const Qt::WindowFlags flags = m_pWindow->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(m_pWindow->isModal());
    ASSERT_EQ(Tabs().count(), 3);
    EXPECT_EQ(Tabs().tabText(0), "General");
    EXPECT_EQ(Tabs().tabText(1), "WatchDogging");
    EXPECT_EQ(Tabs().tabText(2), "LPT Resetter");
    EXPECT_EQ(Tabs().currentIndex(), 1);
    EXPECT_FALSE(PageShown(0));
    EXPECT_TRUE(PageShown(1));
    EXPECT_FALSE(PageShown(2));
    EXPECT_TRUE(m_pWindow->GetButton(IDOK)->isDefault());
    EXPECT_EQ(Item<QComboBox>(0, IDC_GEN_TIME)->currentText(), "21:00");
    EXPECT_EQ(Item<QComboBox>(2, IDC_LPT_CTRL_MASK)->currentText(), "04");
}

TEST_F(QtParamsDialogTest, ClickingATabShowsItsPageAndKeepsTheOthersEdits) {
    Start();
    Live().CurrentTab = -1;
    Open();
    EXPECT_EQ(Tabs().currentIndex(), 0);
    EXPECT_TRUE(PageShown(0));
    ClickTab(1);
    QTest::mouseClick(Item<QCheckBox>(1, IDC_WD_CHECK_URL), Qt::LeftButton);
    QLineEdit* pUrl = Item<QLineEdit>(1, IDC_WD_URL);
    EXPECT_TRUE(pUrl->isEnabled());
    pUrl->setText("example.org");
    ClickTab(2);
    EXPECT_TRUE(PageShown(2));
    EXPECT_FALSE(PageShown(1));
    EXPECT_FALSE(PageShown(0));
    ClickTab(1);
    EXPECT_EQ(pUrl->text(), "example.org");
    EXPECT_TRUE(PageShown(1));
}

TEST_F(QtParamsDialogTest, CancelKeepsOnlyTheSelectedTab) {
    Start();
    m_app.m_nFaultCount = 2;
    const int nCommits = m_fakes.profile.m_nCommits;
    Open();
    QTest::mouseClick(Item<QCheckBox>(0, IDC_GEN_AUTORUN), Qt::LeftButton);
    EXPECT_TRUE(Item<QComboBox>(0, IDC_GEN_METHOD)->isEnabled());
    ClickTab(2);
    QTest::mouseClick(m_pWindow->GetButton(IDCANCEL), Qt::LeftButton);
    EXPECT_EQ(m_pWindow->result(), QDialog::Rejected);
    EXPECT_FALSE(m_pWindow->isVisible());
    EXPECT_EQ(Live().CurrentTab, 0); // until the window goes
    Close();
    EXPECT_EQ(Live().CurrentTab, 2);
    EXPECT_EQ(Live().bAutoRun, 0);
    EXPECT_EQ(m_fakes.profile.m_nCommits, nCommits);
    EXPECT_EQ(m_app.m_nFaultCount, 2);
}

TEST_F(QtParamsDialogTest, OKSavesWhatTheControlsShowAndRearms) {
    Start();
    m_app.m_nFaultCount = 2;
    m_chooser.m_strAnswer = "/tmp/alive";
    Open();
    ClickTab(1);
    QTest::mouseClick(Item<QCheckBox>(1, IDC_WD_CHECK_FILE), Qt::LeftButton);
    QTest::mouseClick(Item<QPushButton>(1, IDC_WD_BROWSE), Qt::LeftButton);
    Item<QComboBox>(1, IDC_WD_CONNECTION)->setEditText("Typed name");
    QComboBox* pPort = Item<QComboBox>(2, IDC_LPT_PORT);
    pPort->setCurrentIndex(0);
    emit pPort->activated(0); // as a choice in the list
    EXPECT_FALSE(Item<QComboBox>(2, IDC_LPT_DATA_MASK)->isEnabled());
    QTest::mouseClick(m_pWindow->GetButton(IDOK), Qt::LeftButton);
    EXPECT_EQ(m_pWindow->result(), QDialog::Accepted);
    EXPECT_EQ(m_app.m_nFaultCount, 0);
    EXPECT_EQ(m_fakes.profile.Value("WatchDogging", "sFileRefresh"), "/tmp/alive");
    EXPECT_EQ(Live().bCheckFileRefresh, 1);
    EXPECT_EQ(Live().sDefaultConnection, "Typed name");
    EXPECT_EQ(Live().iLptPort, 0);
}

TEST_F(QtParamsDialogTest, EnterInsideAPageIsOKEvenInAnUnleftNumberField) {
    Start();
    const int nCommits = m_fakes.profile.m_nCommits;
    Open();
    ClickTab(1);
    QLineEdit* pFaults = Item<QLineEdit>(1, IDC_WD_MAX_FAULTS);
    Focus(pFaults);
    pFaults->selectAll();
    QTest::keyClicks(pFaults, "500");
    QTest::keyClick(pFaults, Qt::Key_Return);
    EXPECT_EQ(m_pWindow->result(), QDialog::Accepted);
    EXPECT_FALSE(m_pWindow->isVisible());
    EXPECT_EQ(Live().iMaxFaults, 100);
    EXPECT_EQ(m_fakes.profile.m_nCommits, nCommits + 1); // saved once, not twice
}

TEST_F(QtParamsDialogTest, EnterOnACheckBoxIsOKAndEscapeInAnEditIsCancel) {
    Start();
    Open();
    QCheckBox* pCheck = Item<QCheckBox>(0, IDC_GEN_AUTO_SHUTDOWN);
    Focus(pCheck);
    QTest::keyClick(pCheck, Qt::Key_Space);
    QTest::keyClick(pCheck, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(m_pWindow->result(), QDialog::Accepted);
    EXPECT_EQ(Live().bAutoShutdown, 1);
    Close();

    Open();
    ClickTab(2);
    QLineEdit* pWait = Item<QLineEdit>(2, IDC_LPT_WAIT_TIME);
    Focus(pWait);
    QTest::keyClicks(pWait, "9");
    QTest::keyClick(pWait, Qt::Key_Escape);
    EXPECT_EQ(m_pWindow->result(), QDialog::Rejected);
    EXPECT_FALSE(m_pWindow->isVisible());
    EXPECT_EQ(Live().iModemWaitTime, 15);
}

TEST_F(QtParamsDialogTest, LeavingANumberFieldClampsItAndDeleteAlwaysEditsIt) {
    Start();
    Open();
    ClickTab(2);
    // A shortcut on Delete that the dialog might carry must not take the key from the field.
    int nShortcuts = 0;
    QShortcut shortcut(QKeySequence(Qt::Key_Delete), m_pWindow.get());
    shortcut.setContext(Qt::ApplicationShortcut);
    QObject::connect(&shortcut, &QShortcut::activated, [&nShortcuts] { ++nShortcuts; });

    QLineEdit* pOff = Item<QLineEdit>(2, IDC_LPT_OFF_TIME);
    Focus(pOff);
    pOff->setText("45sec");
    pOff->setCursorPosition(0);
    QTest::keyClick(pOff, Qt::Key_Delete);
    EXPECT_EQ(pOff->text(), "5sec");
    EXPECT_EQ(nShortcuts, 0);
    Focus(Item<QLineEdit>(2, IDC_LPT_WAIT_TIME));
    EXPECT_EQ(pOff->text(), "5");
    pOff->setText("45sec");
    Focus(pOff);
    Focus(Item<QCheckBox>(2, IDC_LPT_HANG_UP));
    EXPECT_EQ(pOff->text(), "30");
    // Elsewhere the shortcut works, so the test would notice a missing key.
    QTest::keyClick(Item<QCheckBox>(2, IDC_LPT_HANG_UP), Qt::Key_Delete);
    EXPECT_EQ(nShortcuts, 1);
}

TEST_F(QtParamsDialogTest, MissingPortModuleGreysTheResetterPageAndSaysSo) {
    m_fakes.modules.m_bPresent = false;
    Start();
    Live().CurrentTab = 2;
    Open();
    EXPECT_EQ(Item<QLabel>(2, IDC_LPT_LIB_STATUS)->text(),
              "ERROR!!! Library libinpout32.so not found.");
    EXPECT_TRUE(Item<QLabel>(2, IDC_LPT_LIB_STATUS)->isEnabled());
    for (const auto& [nID, pWidget] : Tabs().GetPageItems(Page(2))->GetItems())
        EXPECT_EQ(pWidget->isEnabled(), nID == IDC_LPT_LIB_STATUS) << nID;
    const std::vector<std::string> faults =
        CheckLayout(Tabs().GetPageWindow(Page(2)), Tabs().GetPageItems(Page(2))->GetItems());
    EXPECT_TRUE(faults.empty()) << faults.front();
}

TEST_F(QtParamsDialogTest, NoTextIsCutOffAndNothingOverlapsAtTheDefaultFont) {
    Start();
    Live().bCheckFileRefresh = 1;
    Open();
    for (int nTab = 0; nTab < 3; ++nTab) {
        ClickTab(nTab);
        QWidget* pPage = Tabs().GetPageWindow(Page(nTab));
        EXPECT_TRUE(Tabs().rect().contains(pPage->geometry())) << nTab;
        for (const std::string& strFault :
             CheckLayout(pPage, Tabs().GetPageItems(Page(nTab))->GetItems()))
            ADD_FAILURE() << "page " << nTab << ": " << strFault;
    }
    for (const std::string& strFault : CheckLayout(m_pWindow.get(), m_pWindow->GetItems()))
        ADD_FAILURE() << "dialog: " << strFault;
}

TEST_F(QtParamsDialogTest, SettingsCommandRunsTheDialogModally) {
    Start();
    CQtUserInterface ui;
    bool bSeen = false;
    QTimer::singleShot(0, [&bSeen] {
        auto* pDialog = dynamic_cast<CQtParamsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(pDialog, nullptr);
        bSeen = pDialog->isVisible();
        pDialog->GetTabWidget()->setCurrentIndex(2); // as the user would
        QTest::keyClick(pDialog, Qt::Key_Escape);
    });
    ui.DoModalSettings(m_app);
    EXPECT_TRUE(bSeen);
    EXPECT_EQ(Live().CurrentTab, 2);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(QtFileChooserTest, OneFilterThatShowsEveryFile) {
    EXPECT_EQ(CQtFileChooser::ToNameFilters("All Files (*.*)|*.*||"),
              QStringList{"All Files (*.*) (*)"});
    EXPECT_EQ(CQtFileChooser::ToNameFilters("Logs|*.log;*.txt|All Files (*.*)|*.*||"),
              (QStringList{"Logs (*.log *.txt)", "All Files (*.*) (*)"}));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString strFile = dir.filePath("alive"); // no dot in the name
    std::ofstream(strFile.toStdString()) << "x";
    QString strShownFilter;
    QTimer::singleShot(0, [&] {
        auto* pDialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(pDialog, nullptr);
        EXPECT_EQ(pDialog->acceptMode(), QFileDialog::AcceptOpen);
        if (auto* pTypes = pDialog->findChild<QComboBox*>("fileTypeCombo"))
            strShownFilter = pTypes->currentText();
        pDialog->selectFile(strFile);
        static_cast<QDialog*>(pDialog)->accept();
    });
    CQtFileChooser chooser;
    std::string strPath = "unchanged";
    EXPECT_TRUE(chooser.ChooseFileToOpen("All Files (*.*)|*.*||", strPath));
    EXPECT_EQ(strPath, strFile.toStdString());
    EXPECT_EQ(strShownFilter, "All Files (*.*)");

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    strPath = "unchanged";
    EXPECT_FALSE(chooser.ChooseFileToOpen("All Files (*.*)|*.*||", strPath));
    EXPECT_EQ(strPath, "unchanged");
}

} // namespace
