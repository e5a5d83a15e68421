#include "platform/linux/CXdgStateStore.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwick {

namespace {
std::string Env(const char* pszName) {
    const char* psz = std::getenv(pszName);
    return psz != nullptr ? std::string(psz) : std::string();
}

} // namespace

bool CXdgStateStore::WriteAll(int fd, const std::string& strData, std::int64_t nOffset) {
    std::size_t nDone = 0;
    while (nDone < strData.size()) {
        const char* p = strData.data() + nDone;
        const std::size_t nLeft = strData.size() - nDone;
        const ssize_t n = nOffset < 0 ? write(fd, p, nLeft)
                                      : pwrite(fd, p, nLeft, static_cast<off_t>(nOffset + nDone));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        nDone += static_cast<std::size_t>(n);
    }
    return true;
}

CXdgStateStore::CXdgStateStore(std::string strStateDir, std::string strStatusPath)
    : m_strStateDir(std::move(strStateDir)), m_strStatusPath(std::move(strStatusPath)),
      m_strPidLine("pid: " + std::to_string(getpid()) + "\n"), m_StatusFile(m_strStatusPath) {}

// The report speaks for a running instance only: CStatusFile removes it.
CXdgStateStore::~CXdgStateStore() = default;

std::string CXdgStateStore::DefaultStateDir() {
    std::string strBase = Env("XDG_STATE_HOME");
    if (strBase.empty() || strBase[0] != '/')
        strBase = Env("HOME") + "/.local/state";
    return strBase + "/Tarnwick";
}

std::string CXdgStateStore::DefaultStatusPath() {
    const std::string strRuntime = Env("XDG_RUNTIME_DIR");
    if (strRuntime.empty() || strRuntime[0] != '/')
        return std::string();
    return strRuntime + "/tarnwick/status";
}

bool CXdgStateStore::MakeDirs(const std::string& strDir, std::string& strError) {
    // Each ancestor in turn, then the folder itself.
    for (std::size_t p = strDir.find('/', 1);; p = strDir.find('/', p + 1)) {
        const std::string strPart = strDir.substr(0, p);
        if (mkdir(strPart.c_str(), 0700) != 0 && errno != EEXIST) {
            strError = strPart + ": " + std::strerror(errno);
            return false;
        }
        if (p == std::string::npos)
            return true;
    }
}

bool CXdgStateStore::ReadLines(const std::string& strName, std::vector<std::string>& lines) {
    std::ifstream in(PathOf(strName));
    if (!in) {
        m_strLastError = PathOf(strName) + ": " + std::strerror(errno);
        return false;
    }
    lines.clear();
    for (std::string strLine; std::getline(in, strLine);)
        if (!strLine.empty())
            lines.push_back(strLine);
    return true;
}

bool CXdgStateStore::AppendLine(const std::string& strName, const std::string& strLine) {
    if (!MakeDirs(m_strStateDir, m_strLastError))
        return false;
    const std::string strPath = PathOf(strName);
    const int fd = open(strPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_strLastError = strPath + ": " + std::strerror(errno);
        return false;
    }
    // One write of the whole line: with O_APPEND no reader or other writer sees a part.
    const bool bOk = WriteAll(fd, strLine + "\n") && fsync(fd) == 0;
    if (!bOk)
        m_strLastError = strPath + ": " + std::strerror(errno);
    close(fd);
    return bOk;
}

bool CXdgStateStore::WriteLines(const std::string& strName, const std::vector<std::string>& lines) {
    const std::string strPath = PathOf(strName);
    if (lines.empty()) {
        if (unlink(strPath.c_str()) == 0 || errno == ENOENT)
            return true;
        m_strLastError = strPath + ": " + std::strerror(errno);
        return false;
    }
    if (!MakeDirs(m_strStateDir, m_strLastError))
        return false;
    std::string strContent;
    for (const std::string& strLine : lines)
        strContent += strLine + "\n";
    return WriteFileAtomically(strPath, strContent, m_strLastError);
}

bool CXdgStateStore::PublishStatus(const std::string& strText) {
    if (m_strStatusPath.empty()) {
        m_strLastError = "XDG_RUNTIME_DIR is not set";
        return false;
    }
    // Rewritten at every check, without a flush to the disk: the file lives in memory and
    // only as long as the process.
    return m_StatusFile.Write(m_strPidLine + strText, m_strLastError);
}

std::string CXdgStateStore::GetBootId() {
    std::ifstream in("/proc/sys/kernel/random/boot_id");
    std::string strId;
    std::getline(in, strId);
    return strId;
}

bool CXdgStateStore::WriteFileAtomically(const std::string& strPath, const std::string& strContent,
                                         std::string& strError) {
    const int fd = ReplaceFile(strPath, strContent, true, strError);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

int CXdgStateStore::ReplaceFile(const std::string& strPath, const std::string& strContent,
                                bool bDurable, std::string& strError) {
    std::string strTemp = strPath + ".XXXXXX";
    const int fd = mkostemp(strTemp.data(), O_CLOEXEC);
    if (fd < 0) {
        strError = strPath + ": " + std::strerror(errno);
        return -1;
    }
    if (!WriteAll(fd, strContent) || (bDurable && fsync(fd) != 0) ||
        rename(strTemp.c_str(), strPath.c_str()) != 0) {
        strError = strPath + ": " + std::strerror(errno);
        close(fd);
        unlink(strTemp.c_str());
        return -1;
    }
    return fd;
}

} // namespace tarnwick
