#pragma once

#include "platform/IAutorunStore.h"

#include <string>

// Autorun on Linux: method 0 an XDG autostart entry, method 1 a systemd user unit, both
// below the user's configuration folder.
// (Placeholder until the autorun backend lands: nothing is written.)
class CXdgAutorunStore : public IAutorunStore {
public:
    explicit CXdgAutorunStore(std::string strConfigDir);
    bool SetRunKeyEntry(bool bAdd, const std::string& strCommand) override;
    bool SetWinIniEntry(bool bAdd, const std::string& strCommand) override;

private:
    std::string m_strConfigDir;
};
