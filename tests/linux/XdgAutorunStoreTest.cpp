// Autorun in a temporary XDG tree: the desktop's autostart entry (method 0) and the systemd
// user unit with its link (method 1).
#include "CTestSandbox.h"

#include "platform/linux/CXdgAutorunStore.h"

#include <gtest/gtest.h>

#include <glib.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <memory>
#include <sys/stat.h>

namespace {
std::string ReadAll(const std::string& strPath) {
    QFile file(QString::fromStdString(strPath));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

bool Exists(const std::string& strPath) {
    struct stat st {};
    return lstat(strPath.c_str(), &st) == 0;
}

// The program a desktop session would start from the entry: the key file value unescaped,
// the Exec line split as the desktop entry format says, then "%%" made "%".
std::vector<std::string> ExecArgv(const std::string& strEntryPath) {
    std::vector<std::string> argv;
    GKeyFile* pKeyFile = g_key_file_new();
    if (g_key_file_load_from_file(pKeyFile, strEntryPath.c_str(), G_KEY_FILE_NONE, nullptr)) {
        gchar* pszExec = g_key_file_get_string(pKeyFile, "Desktop Entry", "Exec", nullptr);
        gchar** ppszArgv = nullptr;
        if (pszExec != nullptr && g_shell_parse_argv(pszExec, nullptr, &ppszArgv, nullptr)) {
            for (gchar** pp = ppszArgv; *pp != nullptr; ++pp) {
                std::string strArg = *pp;
                for (std::size_t p = 0; (p = strArg.find("%%", p)) != std::string::npos; ++p)
                    strArg.erase(p, 1);
                argv.push_back(strArg);
            }
            g_strfreev(ppszArgv);
        }
        g_free(pszExec);
    }
    g_key_file_free(pKeyFile);
    return argv;
}

std::string DesktopKey(const std::string& strEntryPath, const char* pszKey) {
    GKeyFile* pKeyFile = g_key_file_new();
    std::string strValue;
    if (g_key_file_load_from_file(pKeyFile, strEntryPath.c_str(), G_KEY_FILE_NONE, nullptr)) {
        if (gchar* psz = g_key_file_get_string(pKeyFile, "Desktop Entry", pszKey, nullptr)) {
            strValue = psz;
            g_free(psz);
        }
    }
    g_key_file_free(pKeyFile);
    return strValue;
}

class XdgAutorunStoreTest : public testing::Test {
protected:
    void SetUp() override {
        // Nothing here talks D-Bus, but HOME and XDG_CONFIG_HOME must point at the sandbox.
        m_pSandbox = std::make_unique<CTestSandbox>(CTestSandbox::SOptions{false, false});
        ASSERT_TRUE(m_pSandbox->IsReady()) << m_pSandbox->Error().toStdString();
        m_strConfig = m_pSandbox->ConfigHome().toStdString();
        m_pStore = std::make_unique<CXdgAutorunStore>(m_strConfig);
    }

    QStringList Listing(const std::string& strDir) const {
        return QDir(QString::fromStdString(strDir))
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
    }

    std::unique_ptr<CTestSandbox> m_pSandbox;
    std::string m_strConfig;
    std::unique_ptr<CXdgAutorunStore> m_pStore;
};

TEST_F(XdgAutorunStoreTest, DesktopEntryStartsTheProgramByItsPath) {
    ASSERT_TRUE(m_pStore->SetRunKeyEntry(true, "/opt/tarnwick/bin/tarnwick"));
    const std::string strEntry = m_pStore->DesktopEntryPath();
    EXPECT_EQ(strEntry, m_strConfig + "/autostart/Tarnwick.desktop");
    EXPECT_EQ(DesktopKey(strEntry, "Type"), "Application");
    EXPECT_EQ(DesktopKey(strEntry, "Name"), "Tarnwick");
    EXPECT_EQ(DesktopKey(strEntry, "X-GNOME-Autostart-enabled"), "true");
    EXPECT_EQ(ExecArgv(strEntry), std::vector<std::string>{"/opt/tarnwick/bin/tarnwick"});
}

TEST_F(XdgAutorunStoreTest, ExecLineSurvivesEveryCharacterAPathCanHold) {
    const std::vector<std::string> paths = {
        "/home/ann/My Programs/tarnwick", "/opt/100% sure/tarnwick",   "/opt/$HOME/`id`/tarnwick",
        "/opt/\"quoted\"/it's/tarnwick",  "/opt/back\\slash/tarnwick", "/opt/tab\tand\nline/x",
        "/opt/a;b|c&d<e>f~g*h?i#j(k)/x",  "/opt/Ünïcødé/tarnwick"};
    for (const std::string& strPath : paths) {
        ASSERT_TRUE(m_pStore->SetRunKeyEntry(true, strPath)) << strPath;
        EXPECT_EQ(ExecArgv(m_pStore->DesktopEntryPath()), std::vector<std::string>{strPath})
            << ReadAll(m_pStore->DesktopEntryPath());
    }
}

TEST_F(XdgAutorunStoreTest, AddReplacesInPlaceAndRemoveTakesOnlyTheOwnEntry) {
    const std::string strAutostart = m_strConfig + "/autostart";
    QDir().mkpath(QString::fromStdString(strAutostart));
    QFile other(QString::fromStdString(strAutostart + "/Other.desktop"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();

    ASSERT_TRUE(m_pStore->SetRunKeyEntry(true, "/old/tarnwick"));
    ASSERT_TRUE(m_pStore->SetRunKeyEntry(true, "/new/tarnwick"));
    EXPECT_EQ(Listing(strAutostart), (QStringList{"Other.desktop", "Tarnwick.desktop"}));
    EXPECT_EQ(ExecArgv(m_pStore->DesktopEntryPath()), std::vector<std::string>{"/new/tarnwick"});

    EXPECT_TRUE(m_pStore->SetRunKeyEntry(false, ""));
    EXPECT_EQ(Listing(strAutostart), QStringList{"Other.desktop"});
    EXPECT_TRUE(m_pStore->SetRunKeyEntry(false, "")) << "removing what is not there is no failure";
}

TEST_F(XdgAutorunStoreTest, UnitStartsTheProgramAndIsEnabledForDefaultTarget) {
    ASSERT_TRUE(m_pStore->SetWinIniEntry(true, "/opt/tarnwick/bin/tarnwick"));
    const std::string strUnit = m_strConfig + "/systemd/user/tarnwick.service";
    EXPECT_EQ(m_pStore->UnitPath(), strUnit);
    const std::string strText = ReadAll(strUnit);
    EXPECT_NE(strText.find("\nExecStart=\"/opt/tarnwick/bin/tarnwick\"\n"), std::string::npos)
        << strText;
    EXPECT_NE(strText.find("[Install]\nWantedBy=default.target\n"), std::string::npos) << strText;
    const QFileInfo link(QString::fromStdString(m_pStore->UnitLinkPath("default.target")));
    EXPECT_TRUE(link.isSymLink());
    EXPECT_EQ(link.symLinkTarget().toStdString(), strUnit);

    ASSERT_TRUE(m_pStore->SetWinIniEntry(true, "/new/tarnwick"));
    EXPECT_NE(ReadAll(strUnit).find("ExecStart=\"/new/tarnwick\""), std::string::npos);
    EXPECT_EQ(Listing(m_strConfig + "/systemd/user"),
              (QStringList{"default.target.wants", "tarnwick.service"}));
    EXPECT_EQ(Listing(m_strConfig + "/systemd/user/default.target.wants"),
              QStringList{"tarnwick.service"});

    EXPECT_TRUE(m_pStore->SetWinIniEntry(false, ""));
    EXPECT_FALSE(Exists(strUnit));
    EXPECT_FALSE(Exists(m_pStore->UnitLinkPath("default.target")));
}

TEST_F(XdgAutorunStoreTest, SystemdReadsTheExecutablePathBack) {
    const QString strTool = QStandardPaths::findExecutable("systemd-analyze");
    if (strTool.isEmpty())
        GTEST_SKIP() << "systemd-analyze is not installed";
    // systemd checks that the executable it parsed out of ExecStart= exists.
    const QString strDir = m_pSandbox->Root() + "/opt/My 100% $HOME; Ünï";
    ASSERT_TRUE(QDir().mkpath(strDir));
    const QString strProgram = strDir + "/tarn wick";
    ASSERT_TRUE(QFile::copy("/bin/true", strProgram));
    ASSERT_TRUE(m_pStore->SetWinIniEntry(true, strProgram.toStdString()));
    QProcess verify;
    verify.start(strTool, {"verify", QString::fromStdString(m_pStore->UnitPath())});
    ASSERT_TRUE(verify.waitForFinished(30000));
    EXPECT_EQ(verify.exitCode(), 0) << verify.readAllStandardError().toStdString();
}

TEST_F(XdgAutorunStoreTest, PathTheMechanismCannotExpressIsNotRegistered) {
    // A desktop entry is UTF-8 text; systemd refuses quotes and backslashes in the path.
    EXPECT_FALSE(m_pStore->SetRunKeyEntry(true, "/opt/\xff\xfe/tarnwick"));
    EXPECT_FALSE(m_pStore->SetWinIniEntry(true, "/opt/\"quoted\"/tarnwick"));
    EXPECT_FALSE(m_pStore->SetWinIniEntry(true, "/opt/back\\slash/tarnwick"));
    EXPECT_EQ(Listing(m_strConfig), QStringList{});
}

TEST_F(XdgAutorunStoreTest, RemoveAlsoTakesTheLinksOfTargetsTheUnitNamesNow) {
    ASSERT_TRUE(m_pStore->SetWinIniEntry(true, "/opt/tarnwick"));
    // Edited by hand: wanted by another target too, enabled for it.
    const std::string strUnit = m_pStore->UnitPath();
    QFile unit(QString::fromStdString(strUnit));
    ASSERT_TRUE(unit.open(QIODevice::Append));
    unit.write("WantedBy=graphical-session.target ../../outside\n");
    unit.close();
    const std::string strOtherLink = m_pStore->UnitLinkPath("graphical-session.target");
    QDir().mkpath(
        QString::fromStdString(m_strConfig + "/systemd/user/graphical-session.target.wants"));
    ASSERT_EQ(symlink(strUnit.c_str(), strOtherLink.c_str()), 0);
    // A file named like the link outside the unit folders must never be touched.
    const std::string strOutside = m_strConfig + "/systemd/user/../../outside.wants";
    QDir().mkpath(QString::fromStdString(strOutside));
    QFile decoy(QString::fromStdString(strOutside + "/tarnwick.service"));
    ASSERT_TRUE(decoy.open(QIODevice::WriteOnly));
    decoy.close();

    EXPECT_TRUE(m_pStore->SetWinIniEntry(false, ""));
    EXPECT_FALSE(Exists(strOtherLink));
    EXPECT_FALSE(Exists(m_pStore->UnitLinkPath("default.target")));
    EXPECT_TRUE(Exists(strOutside + "/tarnwick.service"));
}

TEST_F(XdgAutorunStoreTest, SwitchingMethodsMovesTheEntry) {
    // The order in which the application applies a method: the other one's entry first.
    const std::string strPath = "/opt/tarnwick";
    ASSERT_TRUE(m_pStore->SetWinIniEntry(false, ""));
    ASSERT_TRUE(m_pStore->SetRunKeyEntry(true, strPath));
    ASSERT_TRUE(m_pStore->SetRunKeyEntry(false, ""));
    ASSERT_TRUE(m_pStore->SetWinIniEntry(true, strPath));
    EXPECT_FALSE(Exists(m_pStore->DesktopEntryPath()));
    EXPECT_TRUE(Exists(m_pStore->UnitPath()));
    ASSERT_TRUE(m_pStore->SetWinIniEntry(false, ""));
    ASSERT_TRUE(m_pStore->SetRunKeyEntry(true, strPath));
    EXPECT_TRUE(Exists(m_pStore->DesktopEntryPath()));
    EXPECT_FALSE(Exists(m_pStore->UnitPath()));
}

TEST_F(XdgAutorunStoreTest, ConfigurationFolderThatCannotBeWrittenChangesNothing) {
    // Root may write anywhere, so the folder is made impossible instead: it lies below a
    // regular file.
    const std::string strFile = m_strConfig + "/plain-file";
    QFile file(QString::fromStdString(strFile));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    CXdgAutorunStore store(strFile + "/config");
    EXPECT_FALSE(store.SetRunKeyEntry(true, "/opt/tarnwick"));
    EXPECT_FALSE(store.SetWinIniEntry(true, "/opt/tarnwick"));
    EXPECT_TRUE(store.SetRunKeyEntry(false, "")) << "nothing there to remove";
    EXPECT_EQ(Listing(m_strConfig), QStringList{"plain-file"});
}

TEST_F(XdgAutorunStoreTest, EntryThatCannotBeReplacedStaysAsItWas) {
    // A folder where the entry belongs cannot be replaced by a file.
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(m_pStore->DesktopEntryPath())));
    EXPECT_FALSE(m_pStore->SetRunKeyEntry(true, "/opt/tarnwick"));
    EXPECT_FALSE(m_pStore->SetRunKeyEntry(false, ""));
    EXPECT_EQ(Listing(m_strConfig + "/autostart"), QStringList{"Tarnwick.desktop"});

    // The unit: an old one stays, and no link appears, when the link cannot be placed.
    ASSERT_TRUE(m_pStore->SetWinIniEntry(true, "/old/tarnwick"));
    const std::string strLink = m_pStore->UnitLinkPath("default.target");
    ASSERT_EQ(unlink(strLink.c_str()), 0);
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(strLink)));
    EXPECT_FALSE(m_pStore->SetWinIniEntry(true, "/new/tarnwick"));
    EXPECT_NE(ReadAll(m_pStore->UnitPath()).find("/old/tarnwick"), std::string::npos);

    // And when the unit itself cannot be written, no link is left behind.
    CXdgAutorunStore fresh(m_strConfig + "/fresh");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(fresh.UnitPath())));
    EXPECT_FALSE(fresh.SetWinIniEntry(true, "/opt/tarnwick"));
    EXPECT_FALSE(Exists(m_strConfig + "/fresh/systemd/user/default.target.wants"));
    EXPECT_EQ(Listing(m_strConfig + "/fresh/systemd/user"), QStringList{"tarnwick.service"});
}
} // namespace
