// The Qt tests run offscreen, in a sandbox of temporary folders and without any D-Bus.
#include <QApplication>

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char* argv[]) {
    // Before anything of Qt exists: HOME, the XDG folders and both buses point into a fresh
    // temporary folder, the buses at a socket that does not exist, so that a D-Bus call fails
    // at once instead of reaching a real bus.
    std::string strRoot = std::filesystem::temp_directory_path() / "tarnwick-dialogs-XXXXXX";
    if (mkdtemp(strRoot.data()) == nullptr)
        return 1;
    for (const char* pszName :
         {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        const std::string strDir = strRoot + "/" + pszName;
        if (mkdir(strDir.c_str(), 0700) != 0 || setenv(pszName, strDir.c_str(), 1) != 0)
            return 1;
    }
    for (const char* pszName : {"DBUS_SESSION_BUS_ADDRESS", "DBUS_SYSTEM_BUS_ADDRESS"})
        setenv(pszName, ("unix:path=" + strRoot + "/no-bus").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int nResult = RUN_ALL_TESTS();
    std::filesystem::remove_all(strRoot);
    return nResult;
}
