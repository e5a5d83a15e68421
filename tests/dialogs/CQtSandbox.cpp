#include "CQtSandbox.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

void EnterQtSandbox(bool bOffscreen) {
    std::string strTemplate =
        (std::filesystem::temp_directory_path() / "tarnwick-dialogs-XXXXXX").string();
    const char* pszRoot = mkdtemp(strTemplate.data());
    if (pszRoot == nullptr)
        std::abort();
    const std::filesystem::path root(pszRoot);
    for (const char* pszDir : {"home", "config", "runtime", "data", "cache"})
        std::filesystem::create_directories(root / pszDir);
    std::filesystem::permissions(root / "runtime", std::filesystem::perms::owner_all);
    setenv("HOME", (root / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (root / "runtime").c_str(), 1);
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (root / "cache").c_str(), 1);
    // Buses that do not exist: a D-Bus call fails at once instead of reaching a real one.
    const std::string strNoBus = "unix:path=" + (root / "no-bus").string();
    setenv("DBUS_SESSION_BUS_ADDRESS", strNoBus.c_str(), 1);
    setenv("DBUS_SYSTEM_BUS_ADDRESS", strNoBus.c_str(), 1);
    if (bOffscreen)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
}
