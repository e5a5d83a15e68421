#pragma once

#include "platform/IAutorunStore.h"

#include <string>
#include <vector>

namespace tarnwick {

class ILog;

// Start at log-on: method 0 the value "Tarnwick" of the current user's Run key, method 1 a
// "run=" line of the program's own (marked "; Tarnwick") in the [windows] section of
// WIN.INI. The command is the program's path, quoted.
class CWinAutorunStore : public IAutorunStore {
public:
    static constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    // The product passes kRunKey and the Windows folder; tests pass places of their own.
    CWinAutorunStore(ILog& log, std::string strRunKey, std::string strWinIniPath);
    // The Windows folder's WIN.INI.
    static std::string DefaultWinIniPath();

    bool SetRunKeyEntry(bool bAdd, const std::string& strCommand) override;
    bool SetWinIniEntry(bool bAdd, const std::string& strCommand) override;

    // The edit of WIN.INI's lines: replace, delete or insert the program's own line.
    static void EditWinIniLines(std::vector<std::string>& lines, bool bAdd,
                                const std::string& strLine);

private:
    ILog& m_log;
    std::string m_strRunKey;
    std::string m_strWinIniPath;
};

} // namespace tarnwick
