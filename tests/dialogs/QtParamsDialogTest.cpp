// The parameters dialog in Qt, offscreen: the window and its tabs, its look at the default
// font (also without the port module), OK, Cancel, Enter, Escape and Delete, and the desktop's
// file dialog.
#include "CFakeServices.h"
#include "CFakeWindow.h"

#include "app/CTarnwickApp.h"
#include "res/ParamsDialogs.h"
#include "res/Resource.h"
#include "ui/qt/CQtDialogItems.h"
#include "ui/qt/CQtFileChooser.h"
#include "ui/qt/CQtIcon.h"
#include "ui/qt/CQtParamsDialog.h"
#include "ui/qt/CQtTabControl.h"
#include "ui/qt/CQtUserInterface.h"

#include <QTest>
#include <QtWidgets>

#include <optional>
#include <stdexcept>

namespace tarnwick {

namespace {

// The part of a control no other may touch: a group box's caption, else the whole.
QRect Footprint(QWidget* pWidget) {
    auto* pGroup = qobject_cast<QGroupBox*>(pWidget);
    if (pGroup == nullptr)
        return pWidget->geometry();
    QStyleOptionGroupBox option;
    option.initFrom(pGroup);
    option.text = pGroup->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    return pGroup->style()
        ->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, pGroup)
        .translated(pGroup->pos());
}

// The faults in the look of a window built from a template: a text or a control cut off (by
// the control or the window), controls that overlap (group boxes by their captions or whole).
std::vector<std::string> LayoutFaults(QWidget* pWindow, const std::map<int, QWidget*>& widgets) {
    std::vector<std::string> faults;
    for (const auto& [nID, pWidget] : widgets) {
        const QFontMetrics fm(pWidget->font());
        QSize needs(Footprint(pWidget).width(), 0); // a group box's caption
        if (auto* pLabel = qobject_cast<QLabel*>(pWidget))
            needs = fm.boundingRect({0, 0, pLabel->width(), 9999}, Qt::TextWordWrap, pLabel->text())
                        .size();
        else if (auto* pCheck = qobject_cast<QCheckBox*>(pWidget))
            needs = QSize(pCheck->sizeHint().width(), fm.height());
        else if (auto* pButton = qobject_cast<QPushButton*>(pWidget))
            needs = QSize(fm.horizontalAdvance(pButton->text()) + 4, fm.height());
        if (needs.width() > pWidget->width() || needs.height() > pWidget->height() ||
            !pWindow->rect().contains(pWidget->geometry()))
            faults.push_back(std::to_string(nID) + " cut off");
        for (const auto& [nOtherID, pOther] : widgets) {
            const bool bGroups =
                qobject_cast<QGroupBox*>(pWidget) && qobject_cast<QGroupBox*>(pOther);
            if (nOtherID > nID && (bGroups ? pWidget->geometry().intersects(pOther->geometry())
                                           : Footprint(pWidget).intersects(Footprint(pOther))))
                faults.push_back(std::to_string(nID) + " overlaps " + std::to_string(nOtherID));
        }
    }
    return faults;
}

class QtParamsDialogTest : public ::testing::Test {
protected:
    void Open() {
        m_dlg.emplace(m_app, m_chooser);
        m_pWindow = std::make_unique<CQtParamsDialog>(*m_dlg);
        ASSERT_TRUE(m_pWindow->InitDialog());
        m_pWindow->show();
        QApplication::setActiveWindow(m_pWindow.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_pWindow.get()));
    }
    CQtTabControl& Tabs() { return *m_pWindow->GetTabWidget(); }
    CTabPageDlg& Page(int nTab) { return TabPage(*m_dlg, nTab); }
    QWidget* PageWindow(int nTab) { return Tabs().GetPageWindow(Page(nTab)); }
    const auto& Items(int nTab) { return Tabs().GetPageItems(Page(nTab))->GetItems(); }
    // The control of that id and kind; another fails the test (an exception GoogleTest
    // reports) rather than crashing it.
    template <typename T> T* Item(int nTab, int n) {
        T* pItem = qobject_cast<T*>(Items(nTab).at(n));
        if (pItem == nullptr)
            throw std::logic_error("control " + std::to_string(n) + " is of another kind");
        return pItem;
    }
    void ClickTab(int nTab) {
        QTest::mouseClick(Tabs().tabBar(), Qt::LeftButton, {},
                          Tabs().tabBar()->tabRect(nTab).center());
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(PageWindow(i)->isVisible(), i == nTab) << "tab " << nTab;
    }
    void Click(QWidget* pWidget) { QTest::mouseClick(pWidget, Qt::LeftButton); }
    AppSettings& Live() { return m_app.GetSettings(); }

    CFakeServices m_fakes;
    CTarnwickApp m_app{m_fakes.services};
    CFakeWindow m_chooser;
    std::optional<CParamsDlg> m_dlg;
    std::unique_ptr<CQtParamsDialog> m_pWindow;
};

TEST_F(QtParamsDialogTest, OpensOnTopWithoutCloseButtonAndEveryPageLooksRight) {
    ASSERT_TRUE(m_app.InitInstance());
    Open();
    EXPECT_EQ(m_pWindow->windowTitle(), "Tarnwick Parameters");
    const Qt::WindowFlags flags = m_pWindow->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint) &&
                !(flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)));
    EXPECT_TRUE(m_pWindow->isModal() && m_pWindow->GetButton(ID::Ok)->isDefault());
    EXPECT_EQ(QStringList({Tabs().tabText(0), Tabs().tabText(1), Tabs().tabText(2)}),
              QStringList({"General", "WatchDogging", "LPT Resetter"}));
    EXPECT_EQ(LayoutFaults(m_pWindow.get(), m_pWindow->GetItems()), std::vector<std::string>());
    for (int nTab : {1, 2, 0}) {
        SCOPED_TRACE(Tabs().tabText(nTab).toStdString());
        ClickTab(nTab);
        EXPECT_TRUE(Tabs().rect().contains(PageWindow(nTab)->geometry()));
        EXPECT_EQ(LayoutFaults(PageWindow(nTab), Items(nTab)), std::vector<std::string>());
    }
    // The sorted list keeps the methods in the order of their numbers.
    EXPECT_EQ(Item<QComboBox>(0, IDC_GEN_METHOD)->itemText(1), g_AutorunMethodNames[1]);
}

// The page is loaded and stored all the same.
TEST_F(QtParamsDialogTest, MissingPortModuleGreysTheResetterPageAndSaysSo) {
    m_fakes.modules.m_bPresent = false;
    ASSERT_TRUE(m_app.InitInstance());
    const char* pszLpt =
        "sShutdownTime=21:00;iLptPort=3;iDataPort=956;iCtrlPort=958;iCtrlPortMask=11;";
    Live() = Record(pszLpt);
    Open();
    ClickTab(2);
    EXPECT_EQ(Item<QLabel>(2, IDC_LPT_LIB_STATUS)->text(),
              "ERROR!!! Library libinpout32.so not found.");
    for (const auto& [nID, pWidget] : Items(2))
        EXPECT_EQ(pWidget->isEnabled(), nID == IDC_LPT_LIB_STATUS) << nID;
    EXPECT_EQ(LayoutFaults(PageWindow(2), Items(2)), std::vector<std::string>());
    Click(m_pWindow->GetButton(ID::Ok));
    EXPECT_EQ(SettingsText(Live()), SettingsText(Record(pszLpt)));
}

// Cancel and OK, each by its button and by its key typed into a number field never left.
TEST_F(QtParamsDialogTest, CancelKeepsOnlyTheSelectedTabAndOKSavesWhatTheControlsShowAndRearms) {
    ASSERT_TRUE(m_app.InitInstance());
    m_chooser.m_strChosen = "/tmp/alive";
    const std::string strTabOnly = "CurrentTab=1;sShutdownTime=21:00;";
    const char* pszSaved =
        "bAutoRun=1;sDefaultConnection=Typed name;bCheckFileRefresh=1;iCheckDelay=1;"
        "iMaxFaults=100;sFileRefresh=/tmp/alive;iLptPort=0;iDataPort=0;iCtrlPort=0;";
    for (const auto& [bOK, bKey] :
         {std::pair{false, false}, {false, true}, {true, false}, {true, true}}) {
        SCOPED_TRACE(testing::Message() << (bOK ? "OK" : "Cancel") << (bKey ? " key" : " button"));
        Live() = Record("sShutdownTime=21:00;");
        const int nCommits = m_fakes.profile.m_nCommits;
        Open();
        Click(Item<QCheckBox>(0, IDC_GEN_AUTORUN));
        ClickTab(1);
        // Delete edits a number field whatever shortcut the dialog has (this one belongs to the
        // window); leaving the field clamps it.
        new QShortcut(
            Qt::Key_Delete, m_pWindow.get(), [] {}, Qt::ApplicationShortcut);
        QLineEdit* pDelay = Item<QLineEdit>(1, IDC_WD_CHECK_DELAY);
        pDelay->setFocus();
        pDelay->setCursorPosition(0);
        QTest::keyClick(pDelay, Qt::Key_Delete);
        Item<QLineEdit>(1, IDC_WD_MAX_FAULTS)->setFocus();
        EXPECT_EQ(pDelay->text(), "1");
        Click(Item<QCheckBox>(1, IDC_WD_CHECK_FILE));
        Click(Item<QPushButton>(1, IDC_WD_BROWSE));
        Item<QComboBox>(1, IDC_WD_CONNECTION)->setEditText("Typed name");
        Item<QComboBox>(2, IDC_LPT_PORT)->setCurrentIndex(0);
        emit Item<QComboBox>(2, IDC_LPT_PORT)->activated(0); // as a choice in the list
        EXPECT_FALSE(Item<QComboBox>(2, IDC_LPT_DATA_MASK)->isEnabled());
        QLineEdit* pFaults = Item<QLineEdit>(1, IDC_WD_MAX_FAULTS);
        QTest::keyClicks(pFaults, "500"); // after the 3: far over the top
        if (bKey)
            QTest::keyClick(pFaults, bOK ? Qt::Key_Return : Qt::Key_Escape);
        else
            Click(m_pWindow->GetButton(bOK ? ID::Ok : ID::Cancel));
        EXPECT_TRUE(m_pWindow->result() == (bOK ? QDialog::Accepted : QDialog::Rejected) &&
                    !m_pWindow->isVisible());
        m_pWindow.reset(); // the window goes (the dialog object hears it), then the dialog object
        m_dlg.reset();
        EXPECT_EQ(SettingsText(Live()), SettingsText(Record(strTabOnly + (bOK ? pszSaved : ""))));
        EXPECT_EQ(m_fakes.profile.m_nCommits, nCommits + (bOK ? 1 : 0)); // saved once
    }
}

// At a font too large for the screen the dialog shrinks to fit it, and its texts with it.
TEST_F(QtParamsDialogTest, LargeFontStillFitsTheScreen) {
    ASSERT_TRUE(m_app.InitInstance());
    const QFont normal = QApplication::font();
    QFont large = normal;
    large.setPixelSize(27); // 10 points at 192 dpi
    QApplication::setFont(large);
    const QSize available = CQtParamsDialog::AvailableClientSize();
    ASSERT_GT(CQtDialogBuilder(large).MapDialogRect({0, 0, 314, 223}).height(), available.height());
    Open();
    QApplication::setFont(normal);
    EXPECT_TRUE(QRect(QPoint(), available).contains(m_pWindow->rect()));
    EXPECT_TRUE(m_pWindow->rect().contains(m_pWindow->GetButton(ID::Cancel)->geometry()));
    EXPECT_EQ(LayoutFaults(m_pWindow.get(), m_pWindow->GetItems()), std::vector<std::string>());
}

// Settings while the dialog is open: the dialog, minimised or not, comes back to the front.
TEST_F(QtParamsDialogTest, RaiseBringsTheMinimisedDialogBackWithItsIcon) {
    ASSERT_TRUE(m_app.InitInstance());
    CQtUserInterface ui;
    QDialog* pDialog = nullptr;
    QTimer::singleShot(0, [&] {
        pDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(pDialog, nullptr);
        pDialog->showMinimized();
        ui.RaiseSettings();
        EXPECT_TRUE(!pDialog->isMinimized() && pDialog->isVisible());
        EXPECT_EQ(pDialog->windowIcon().pixmap(32).toImage(), ProgramIcon().pixmap(32).toImage());
        pDialog->reject();
    });
    ui.DoModalSettings(m_app);
    EXPECT_NE(pDialog, nullptr);
}

// The desktop's open dialog with the one filter, which shows every file, also one without a
// dot; it carries the program icon and opens in the folder of the file chosen so far.
TEST(QtFileDialogTest, ChoosesAnExistingFileOfAnyNameOrNothing) {
    EXPECT_EQ(CQtFileChooser::ToNameFilters("All Files (*.*)|*.*||"),
              QStringList{"All Files (*.*) (*)"});
    QTemporaryDir dir;
    const QString strOld = dir.filePath("old.log"), strFile = dir.filePath("alive");
    ASSERT_TRUE(QFile(strFile).open(QIODevice::WriteOnly));
    for (bool bAccept : {true, false}) {
        SCOPED_TRACE(bAccept ? "accepted" : "cancelled");
        QTimer::singleShot(0, [&] {
            auto* pDialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(pDialog, nullptr);
            EXPECT_EQ(pDialog->windowIcon().pixmap(32).toImage(),
                      ProgramIcon().pixmap(32).toImage());
            EXPECT_EQ(pDialog->directory().absolutePath(), QDir(dir.path()).absolutePath());
            pDialog->selectFile(strFile);
            bAccept ? static_cast<QDialog*>(pDialog)->accept() : pDialog->reject();
        });
        std::string strPath = strOld.toStdString();
        EXPECT_EQ(CQtFileChooser().ChooseFileToOpen("All Files (*.*)|*.*||", strPath), bAccept);
        EXPECT_EQ(strPath, (bAccept ? strFile : strOld).toStdString());
    }
}

// The Yes/No questions carry the program icon and are modal to the hidden main window, as the
// dialogs are, so the tray icon and its menu stay live while one waits.
TEST(QtMessageBoxTest, QuestionBlocksOnlyItsOwnWindow) {
    for (bool bYes : {true, false}) {
        SCOPED_TRACE(bYes ? "yes" : "no");
        Qt::WindowModality modality = Qt::ApplicationModal;
        QTimer::singleShot(0, [&] {
            auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(pBox, nullptr);
            EXPECT_EQ(pBox->windowIcon().pixmap(32).toImage(), ProgramIcon().pixmap(32).toImage());
            modality = pBox->windowModality();
            pBox->button(bYes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        EXPECT_EQ(CQtUserInterface().AskYesNo("Reboot?"), bYes);
        EXPECT_EQ(modality, Qt::WindowModal);
    }
}

} // namespace

} // namespace tarnwick
