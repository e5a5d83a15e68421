// Autorun in a temporary XDG tree: the desktop's autostart entry (method 0) and the systemd
// user unit with its link (method 1).
#include "CTestSandbox.h"

#include "platform/linux/CXdgAutorunStore.h"

#include <gtest/gtest.h>

#include <glib.h>

#include <QProcess>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace tarnwick {

namespace fs = std::filesystem;

namespace {
using Argv = std::vector<std::string>;
using Names = std::set<std::string>;

std::string ReadAll(const std::string& strPath) {
    std::ostringstream text;
    text << std::ifstream(strPath).rdbuf();
    return text.str();
}

void Touch(const std::string& strPath) {
    fs::create_directories(fs::path(strPath).parent_path());
    std::ofstream{strPath};
}

// Every file and link below the folder, by its path relative to the folder.
Names Files(const std::string& strDir) {
    Names names;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(strDir)) {
        if (!entry.is_directory())
            names.insert(entry.path().lexically_relative(strDir));
    }
    return names;
}

// The program a desktop session would start from the entry: the key file value unescaped,
// the Exec line split as the desktop entry format says, then "%%" made "%" (any other "%"
// starts a field code).
Argv ExecArgv(const std::string& strEntryPath) {
    g_autoptr(GKeyFile) pKeyFile = g_key_file_new();
    g_autofree gchar* pszExec = nullptr;
    g_auto(GStrv) ppszArgv = nullptr;
    Argv argv;
    if (g_key_file_load_from_file(pKeyFile, strEntryPath.c_str(), G_KEY_FILE_NONE, nullptr) &&
        (pszExec = g_key_file_get_string(pKeyFile, "Desktop Entry", "Exec", nullptr)) &&
        g_shell_parse_argv(pszExec, nullptr, &ppszArgv, nullptr)) {
        for (gchar** pp = ppszArgv; *pp != nullptr; ++pp) {
            std::string strArg = *pp;
            for (std::size_t p = 0; (p = strArg.find('%', p)) != std::string::npos; ++p)
                strArg.replace(p, 2, strArg.compare(p, 2, "%%") == 0 ? "%" : "<field code>");
            argv.push_back(strArg);
        }
    }
    return argv;
}

class XdgAutorunStoreTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_sandbox.IsReady()) << m_sandbox.Error().toStdString(); }

    // Nothing here talks D-Bus, but HOME and XDG_CONFIG_HOME must point at the sandbox.
    CTestSandbox m_sandbox{false};
    std::string m_strConfig = m_sandbox.ConfigHome().toStdString();
    CXdgAutorunStore m_store{m_strConfig};
};

TEST_F(XdgAutorunStoreTest, DesktopEntryIsAddedReplacedInPlaceAndRemovedAlone) {
    Touch(m_strConfig + "/autostart/Other.desktop");
    ASSERT_TRUE(m_store.SetRunKeyEntry(true, "/old/tarnwick"));
    ASSERT_TRUE(m_store.SetRunKeyEntry(true, "/opt/tarnwick/bin/tarnwick"));
    EXPECT_EQ(Files(m_strConfig), (Names{"autostart/Other.desktop", "autostart/Tarnwick.desktop"}));
    // The icon by the theme name the installed icons carry.
    for (const char* pszLine : {"\nType=Application\n", "\nIcon=tarnwick\n"})
        EXPECT_NE(ReadAll(m_store.DesktopEntryPath()).find(pszLine), std::string::npos) << pszLine;
    EXPECT_EQ(ExecArgv(m_store.DesktopEntryPath()), Argv{"/opt/tarnwick/bin/tarnwick"});
    EXPECT_TRUE(m_store.SetRunKeyEntry(false, ""));
    EXPECT_EQ(Files(m_strConfig), Names{"autostart/Other.desktop"});
    EXPECT_TRUE(m_store.SetRunKeyEntry(false, "")) << "removing what is not there is no failure";
}

TEST_F(XdgAutorunStoreTest, ExecLinesSurviveEveryCharacterAPathCanHold) {
    for (const char* pszPath :
         {"/home/ann/My Programs/tarnwick", "/opt/100% sure/tarnwick", "/opt/$HOME/`id`/tarnwick",
          "/opt/\"quoted\"/it's/tarnwick", "/opt/back\\slash/tarnwick", "/opt/tab\tand\nline/x",
          "/opt/a;b|c&d<e>f~g*h?i#j(k)/x", "/opt/Ünïcødé/tarnwick"}) {
        SCOPED_TRACE(pszPath);
        ASSERT_TRUE(m_store.SetRunKeyEntry(true, pszPath));
        EXPECT_EQ(ExecArgv(m_store.DesktopEntryPath()), Argv{pszPath})
            << ReadAll(m_store.DesktopEntryPath());
    }
    // A desktop entry is UTF-8 text; systemd refuses quotes and backslashes in the path.
    const std::string strProgram = m_sandbox.Root().toStdString() + "/My 100%h $HOME; Ünï/t w";
    ASSERT_TRUE(m_store.SetWinIniEntry(true, strProgram));
    EXPECT_FALSE(m_store.SetRunKeyEntry(true, "/opt/\xff\xfe/tarnwick"));
    EXPECT_FALSE(m_store.SetWinIniEntry(true, "/opt/\"quoted\"/tarnwick"));
    EXPECT_FALSE(m_store.SetWinIniEntry(true, "/opt/back\\slash/tarnwick"));

    // systemd reads the unit's executable back (it checks that the file is there; "%h" would
    // be the home folder).
    Touch(strProgram);
    fs::permissions(strProgram, fs::perms::owner_all);
    QProcess verify;
    verify.start("systemd-analyze", {"verify", QString::fromStdString(m_store.UnitPath())});
    if (!verify.waitForStarted())
        GTEST_SKIP() << "systemd-analyze is not installed";
    ASSERT_TRUE(verify.waitForFinished(30000));
    EXPECT_EQ(verify.exitCode(), 0) << verify.readAllStandardError().toStdString();
}

TEST_F(XdgAutorunStoreTest, UnitIsEnabledForItsTargetsAndRemovedWithEveryLink) {
    ASSERT_TRUE(m_store.SetWinIniEntry(true, "/old/tarnwick"));
    ASSERT_TRUE(m_store.SetWinIniEntry(true, "/opt/tarnwick"));
    const Names unit = {"systemd/user/tarnwick.service",
                        "systemd/user/default.target.wants/tarnwick.service"};
    EXPECT_EQ(Files(m_strConfig), unit);
    const std::string strUnit = m_store.UnitPath();
    EXPECT_EQ(fs::read_symlink(m_store.UnitLinkPath("default.target")), strUnit);
    const std::string strText = ReadAll(strUnit);
    EXPECT_NE(strText.find("\nExecStart=\"/opt/tarnwick\"\n"), std::string::npos) << strText;
    EXPECT_NE(strText.find("[Install]\nWantedBy=default.target\n"), std::string::npos) << strText;

    // Edited by hand: wanted by another target too and enabled for it, and a name that
    // leads outside the unit folders, where nothing may ever be touched.
    std::ofstream(strUnit, std::ios::app) << "WantedBy=graphical-session.target ../../outside\n";
    const std::string strOtherLink = m_store.UnitLinkPath("graphical-session.target");
    fs::create_directories(fs::path(strOtherLink).parent_path());
    fs::create_symlink(strUnit, strOtherLink);
    Touch(m_strConfig + "/outside.wants/tarnwick.service");
    EXPECT_TRUE(m_store.SetWinIniEntry(false, ""));
    EXPECT_EQ(Files(m_strConfig), Names{"outside.wants/tarnwick.service"});
}

TEST_F(XdgAutorunStoreTest, PlaceThatCannotBeWrittenChangesNothing) {
    // Root may write anywhere, so the folder is made impossible instead: it lies below a
    // regular file.
    Touch(m_strConfig + "/plain-file");
    CXdgAutorunStore store(m_strConfig + "/plain-file/config");
    EXPECT_FALSE(store.SetRunKeyEntry(true, "/opt/tarnwick"));
    EXPECT_FALSE(store.SetWinIniEntry(true, "/opt/tarnwick"));
    EXPECT_TRUE(store.SetRunKeyEntry(false, "")) << "nothing there to remove";
    EXPECT_EQ(Files(m_strConfig), Names{"plain-file"});

    // The unit: an old one stays when its link cannot be placed, and no link is left behind
    // when the unit cannot be written.
    ASSERT_TRUE(m_store.SetWinIniEntry(true, "/old/tarnwick"));
    fs::remove(m_store.UnitLinkPath("default.target"));
    fs::create_directories(m_store.UnitLinkPath("default.target"));
    EXPECT_FALSE(m_store.SetWinIniEntry(true, "/new/tarnwick"));
    EXPECT_NE(ReadAll(m_store.UnitPath()).find("/old/tarnwick"), std::string::npos);
    CXdgAutorunStore fresh(m_strConfig + "/fresh");
    fs::create_directories(fresh.UnitPath());
    EXPECT_FALSE(fresh.SetWinIniEntry(true, "/opt/tarnwick"));
    EXPECT_EQ(Files(m_strConfig + "/fresh"), Names{});
}
} // namespace

} // namespace tarnwick
