#pragma once

#include "platform/IAutorunStore.h"

#include <string>
#include <vector>

namespace tarnwick {

// Autorun on Linux, below the user's configuration folder ($XDG_CONFIG_HOME):
// method 0 the desktop's autostart entry autostart/Tarnwick.desktop (started at log-on to a
// desktop session); method 1 the systemd user unit systemd/user/tarnwick.service, enabled by
// its link in the wants folder of default.target (started with the user's service manager,
// so at boot when lingering is enabled for the user).
// Files are replaced atomically; a place that cannot be written changes nothing and gives
// false. Only these files and the unit's links are ever written or removed.
class CXdgAutorunStore : public IAutorunStore {
public:
    explicit CXdgAutorunStore(std::string strConfigDir);

    bool SetRunKeyEntry(bool bAdd, const std::string& strCommand) override;
    bool SetWinIniEntry(bool bAdd, const std::string& strCommand) override;

    std::string DesktopEntryPath() const;
    std::string UnitPath() const;
    // The link that enables the unit for the target it names.
    std::string UnitLinkPath(const std::string& strTarget) const;

    // The program's absolute path as one quoted argument of a desktop entry's Exec key,
    // already escaped as a key file value.
    static std::string QuoteDesktopExec(const std::string& strPath);
    // The same for a unit's ExecStart=.
    static std::string QuoteSystemdExec(const std::string& strPath);
    // Whether systemd accepts the path as a unit's executable at all.
    static bool IsSystemdExecutablePath(const std::string& strPath);

    static constexpr const char* kUnitTarget = "default.target";

private:
    bool AddUnit(const std::string& strCommand);
    bool RemoveUnit();
    // The targets whose wants folders may hold a link to the unit: those its [Install]
    // section names now, and default.target.
    std::vector<std::string> LinkedTargets() const;

    std::string m_strConfigDir;
};

} // namespace tarnwick
