#pragma once

#include "platform/ILog.h"

#include <cstdio>

namespace tarnwick {

// The log of the Windows build: one line each (local time, level, step, text) appended to
// a file, since a program without a console has no standard error to write to, and also
// handed to the debugger's output.
class CWinFileLog : public ILog {
public:
    // %LOCALAPPDATA%\Tarnwick\Tarnwick.log
    static std::string DefaultPath();
    explicit CWinFileLog(const std::string& strPath);
    ~CWinFileLog() override;
    CWinFileLog(const CWinFileLog&) = delete;
    CWinFileLog& operator=(const CWinFileLog&) = delete;

    void Write(LogLevel level, const std::string& strStep, const std::string& strText) override;

private:
    std::FILE* m_pFile = nullptr;
};

} // namespace tarnwick
