#pragma once

#include "platform/IStateStore.h"

namespace tarnwick {

// The state files in %LOCALAPPDATA%\Tarnwick, and the running instance's state report in
// status.txt there, which goes with the process. Whole files are replaced by a move over the
// old one, lines appended in one write.
class CWinStateStore : public IStateStore {
public:
    explicit CWinStateStore(std::string strStateDir);
    ~CWinStateStore() override;
    CWinStateStore(const CWinStateStore&) = delete;
    CWinStateStore& operator=(const CWinStateStore&) = delete;

    // %LOCALAPPDATA%\Tarnwick; empty when the variable is not set.
    static std::string DefaultStateDir();

    bool ReadLines(const std::string& strName, std::vector<std::string>& lines) override;
    bool AppendLine(const std::string& strName, const std::string& strLine) override;
    bool WriteLines(const std::string& strName, const std::vector<std::string>& lines) override;
    bool PublishStatus(const std::string& strText) override;
    std::string GetBootId() override;
    std::string LastError() const override { return m_strLastError; }

private:
    bool MakeDir();
    bool WriteAtomically(const std::string& strPath, const std::string& strContent);
    bool Fail(const std::string& strPath);
    std::string PathOf(const std::string& strName) const { return m_strStateDir + "\\" + strName; }

    std::string m_strStateDir;
    std::string m_strLastError;
    bool m_bStatusWritten = false;
};

} // namespace tarnwick
