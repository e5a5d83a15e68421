#pragma once

#include "platform/IStateStore.h"
#include "platform/linux/CStatusFile.h"

#include <cstdint>

namespace tarnwick {

// The state files in $XDG_STATE_HOME/Tarnwick (~/.local/state/Tarnwick), mode 0600, and the
// running instance's state report in $XDG_RUNTIME_DIR/tarnwick/status, which goes with the
// process. Whole files are replaced by rename, lines appended in one write; the report, which
// changes at every check, trades places with a spare (see CStatusFile).
class CXdgStateStore : public IStateStore {
public:
    CXdgStateStore(std::string strStateDir, std::string strStatusPath);
    ~CXdgStateStore() override;
    CXdgStateStore(const CXdgStateStore&) = delete;
    CXdgStateStore& operator=(const CXdgStateStore&) = delete;

    // $XDG_STATE_HOME/Tarnwick, or ~/.local/state/Tarnwick.
    static std::string DefaultStateDir();
    // $XDG_RUNTIME_DIR/tarnwick/status; empty when there is no runtime folder.
    static std::string DefaultStatusPath();

    bool ReadLines(const std::string& strName, std::vector<std::string>& lines) override;
    bool AppendLine(const std::string& strName, const std::string& strLine) override;
    bool WriteLines(const std::string& strName, const std::vector<std::string>& lines) override;
    bool PublishStatus(const std::string& strText) override;
    std::string GetBootId() override;
    std::string LastError() const override { return m_strLastError; }
    std::string TakeWarning() override { return m_StatusFile.TakeWarning(); }

    // Replaces a file by a new one written beside it and flushed to the disk; false with
    // errno's text on failure.
    static bool WriteFileAtomically(const std::string& strPath, const std::string& strContent,
                                    std::string& strError);
    // The same, flushed only when bDurable, and keeping the new file open: its descriptor,
    // or -1 with errno's text in strError.
    static int ReplaceFile(const std::string& strPath, const std::string& strContent, bool bDurable,
                           std::string& strError);
    // All of strData, at nOffset (pwrite) or, when it is negative, at the file's position;
    // false with errno set when a write fails.
    static bool WriteAll(int fd, const std::string& strData, std::int64_t nOffset = -1);
    // The folder and its missing ancestors, mode 0700; false with the cause in strError.
    static bool MakeDirs(const std::string& strDir, std::string& strError);

private:
    std::string PathOf(const std::string& strName) const { return m_strStateDir + "/" + strName; }

    std::string m_strStateDir;
    std::string m_strStatusPath;
    std::string m_strPidLine;
    CStatusFile m_StatusFile;
    std::string m_strLastError;
};

} // namespace tarnwick
