#include "platform/linux/CStatusFile.h"

#include "platform/linux/CXdgStateStore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace tarnwick {

namespace {
std::string SparePathOf(const std::string& strPath) {
    const std::size_t nSlash = strPath.rfind('/') + 1; // npos + 1 == 0: no folder
    return strPath.substr(0, nSlash) + "." + strPath.substr(nSlash) + ".next";
}
} // namespace

CStatusFile::CStatusFile(std::string strPath, Duration minSpareAge)
    : m_strPath(std::move(strPath)), m_strSparePath(SparePathOf(m_strPath)),
      m_minSpareAge(minSpareAge) {}

CStatusFile::~CStatusFile() {
    CloseFiles();
    if (m_bWritten) {
        unlink(m_strPath.c_str());
        unlink(m_strSparePath.c_str());
    }
}

void CStatusFile::CloseFiles() {
    for (int* pfd : {&m_fdReport, &m_fdSpare}) {
        if (*pfd >= 0)
            close(*pfd);
        *pfd = -1;
    }
}

bool CStatusFile::Write(const std::string& strContent, std::string& strError) {
    if (Exchange(strContent))
        return true;
    if (Replace(strContent, strError))
        return true;
    // The folder went away (or was never made): make it and try once more.
    const std::string strDir = m_strPath.substr(0, m_strPath.rfind('/'));
    return CXdgStateStore::MakeDirs(strDir, strError) && Replace(strContent, strError);
}

bool CStatusFile::Exchange(const std::string& strContent) {
    if (!m_bExchangeWorks || m_fdReport < 0 || m_fdSpare < 0 ||
        std::chrono::steady_clock::now() - m_tSpareRetired < m_minSpareAge)
        return false;
    // The spare is nobody's report: it may be written in place, then shortened.
    if (!CXdgStateStore::WriteAll(m_fdSpare, strContent, 0) ||
        (strContent.size() < m_nSpareSize &&
         ftruncate(m_fdSpare, static_cast<off_t>(strContent.size())) != 0))
        return false;
    m_nSpareSize = strContent.size();
    if (renameat2(AT_FDCWD, m_strSparePath.c_str(), AT_FDCWD, m_strPath.c_str(), RENAME_EXCHANGE) !=
        0) {
        if (errno == EINVAL || errno == ENOSYS)
            m_bExchangeWorks = false; // this file system cannot trade names
        else
            CloseFiles(); // a file or the folder went away: start again with new ones
        return false;
    }
    std::swap(m_fdReport, m_fdSpare);
    std::swap(m_nReportSize, m_nSpareSize);
    m_tSpareRetired = std::chrono::steady_clock::now();
    return true;
}

bool CStatusFile::Replace(const std::string& strContent, std::string& strError) {
    const int fd = CXdgStateStore::ReplaceFile(m_strPath, strContent, false, strError);
    if (fd < 0)
        return false;
    m_bWritten = true;
    // The file replaced may still be read; it is dropped, the new one is kept as the report.
    if (m_fdReport >= 0)
        close(m_fdReport);
    m_fdReport = fd;
    m_nReportSize = strContent.size();
    if (m_fdSpare < 0 && m_bExchangeWorks)
        OpenSpare();
    return true;
}

void CStatusFile::OpenSpare() {
    // Without a spare every text takes the longer way; nothing is lost, and it is told once.
    m_fdSpare = open(m_strSparePath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (m_fdSpare < 0 && !m_bSpareWarned) {
        m_bSpareWarned = true;
        m_strWarning = m_strSparePath + ": " + std::strerror(errno) +
                       "; the state report is written as a new file each time instead";
    }
    m_nSpareSize = static_cast<std::size_t>(-1); // unknown: shortened at its first use
    m_tSpareRetired = std::chrono::steady_clock::now() - m_minSpareAge; // never a report
}

} // namespace tarnwick
