#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <utility>

namespace tarnwick {

// A small file that is rewritten often (the running instance's state report) and that readers
// always see whole. Two files are kept open: the report and a hidden spare beside it. A new
// text goes into the spare, which then trades places with the report in one
// renameat2(RENAME_EXCHANGE): two system calls, and no file is made or freed, where writing
// a new file and renaming it over the report takes five and both. A file that stopped being
// the report less than a minimum age ago may still be in a reader's hands, so it is not
// written into yet; that text, and every text on a file system without the exchange, goes to
// a new file renamed over the report. Both files are removed with the object.
class CStatusFile {
public:
    using Duration = std::chrono::steady_clock::duration;

    explicit CStatusFile(std::string strPath, Duration minSpareAge = std::chrono::seconds(1));
    ~CStatusFile();
    CStatusFile(const CStatusFile&) = delete;
    CStatusFile& operator=(const CStatusFile&) = delete;

    // False with the cause in strError; the folder is made when it is missing.
    bool Write(const std::string& strContent, std::string& strError);
    const std::string& GetSparePath() const { return m_strSparePath; }
    // Why the spare could not be had (told once: every text then takes the longer way);
    // empty when there is nothing new to tell.
    std::string TakeWarning() { return std::exchange(m_strWarning, std::string()); }

private:
    bool Exchange(const std::string& strContent);
    bool Replace(const std::string& strContent, std::string& strError);
    void OpenSpare();
    void CloseFiles();

    std::string m_strPath;
    std::string m_strSparePath;
    Duration m_minSpareAge;
    int m_fdReport = -1;
    int m_fdSpare = -1;
    std::size_t m_nReportSize = 0;
    std::size_t m_nSpareSize = 0;
    // When the spare last stopped being the report.
    std::chrono::steady_clock::time_point m_tSpareRetired;
    bool m_bExchangeWorks = true;
    bool m_bWritten = false;
    bool m_bSpareWarned = false;
    std::string m_strWarning;
};

} // namespace tarnwick
