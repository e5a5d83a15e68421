#include "platform/linux/CProcFsProcessList.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>

namespace tarnwick {

namespace {
std::string BaseName(const std::string& strPath) {
    const std::string::size_type p = strPath.rfind('/');
    return p == std::string::npos ? strPath : strPath.substr(p + 1);
}

bool ReadLink(const std::string& strLink, std::string& strTarget) {
    char buf[PATH_MAX];
    const ssize_t n = readlink(strLink.c_str(), buf, sizeof buf);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buf)
        return false;
    strTarget.assign(buf, static_cast<std::size_t>(n));
    // A program whose file was replaced while it runs (an upgrade) is still that program.
    const std::string strDeleted = " (deleted)";
    if (strTarget.size() > strDeleted.size() &&
        strTarget.compare(strTarget.size() - strDeleted.size(), strDeleted.size(), strDeleted) == 0)
        strTarget.resize(strTarget.size() - strDeleted.size());
    return true;
}

std::string AsciiLower(std::string str) {
    for (char& c : str)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return str;
}

// Opens the lock file without following a link someone put in its place and without taking
// over or truncating another user's file: an existing file is opened as it is (readable to
// all, so every user's copy locks the same file), a missing one is created exclusively.
int OpenLockFile(const std::string& strPath) {
    for (int nTry = 0; nTry < 3; ++nTry) {
        const int fd =
            open(strPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fd >= 0 || errno != ENOENT)
            return fd;
        const int fdNew =
            open(strPath.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fdNew >= 0) {
            fchmod(fdNew, 0644); // whatever the umask: other users must be able to open it
            return fdNew;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}
} // namespace

CProcFsProcessList::CProcFsProcessList(std::string strArgv0, std::string strProcRoot,
                                       std::string strLockDir)
    : m_strArgv0(std::move(strArgv0)), m_strProcRoot(std::move(strProcRoot)),
      m_strLockDir(std::move(strLockDir)) {
    if (m_strLockDir.empty()) {
        struct stat st {};
        m_strLockDir = stat("/run/lock", &st) == 0 && S_ISDIR(st.st_mode) ? "/run/lock" : "/tmp";
    }
}

CProcFsProcessList::~CProcFsProcessList() {
    if (m_fdLock >= 0)
        close(m_fdLock);
}

bool CProcFsProcessList::Snapshot(std::vector<SProcessEntry>& processes) {
    DIR* pDir = opendir(m_strProcRoot.c_str());
    if (pDir == nullptr)
        return false;
    processes.clear();
    const uid_t nOwnUid = getuid();
    while (const dirent* pEntry = readdir(pDir)) {
        char* pEnd = nullptr;
        const unsigned long nPid = std::strtoul(pEntry->d_name, &pEnd, 10);
        if (nPid == 0 || *pEnd != '\0')
            continue;
        const std::string strDir = m_strProcRoot + "/" + pEntry->d_name;
        std::string strExe;
        if (!ReadLink(strDir + "/exe", strExe)) {
            // Another user's process: its command line is still readable.
            std::ifstream cmdline(strDir + "/cmdline", std::ios::binary);
            std::getline(cmdline, strExe, '\0');
        }
        struct stat st {};
        const bool bOwnUser = stat(strDir.c_str(), &st) == 0 && st.st_uid == nOwnUid;
        if (!strExe.empty())
            processes.push_back({static_cast<unsigned>(nPid), BaseName(strExe), bOwnUser});
    }
    closedir(pDir);
    return true;
}

unsigned CProcFsProcessList::GetCurrentProcessId() {
    return static_cast<unsigned>(getpid());
}

std::string CProcFsProcessList::GetOwnExePath() {
    std::string strPath;
    return ReadLink("/proc/self/exe", strPath) ? strPath : m_strArgv0;
}

std::string CProcFsProcessList::GetOwnExeName() {
    // The file that runs, not what the caller put in argv[0].
    return BaseName(GetOwnExePath());
}

std::string CProcFsProcessList::LockPath(const std::string& strExeName) const {
    return m_strLockDir + "/" + AsciiLower(strExeName) + ".lock";
}

EInstanceLock CProcFsProcessList::LockInstance(unsigned& nHolderPid, std::string& strDetail) {
    nHolderPid = 0;
    strDetail = LockPath(GetOwnExeName());
    if (m_fdLock >= 0)
        return EInstanceLock::Taken;
    const int fd = OpenLockFile(strDetail);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        strDetail += fd < 0 ? std::string(": ") + std::strerror(errno) : ": not a regular file";
        if (fd >= 0)
            close(fd);
        return EInstanceLock::Unavailable;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_fdLock = fd;
        return EInstanceLock::Taken;
    }
    const int nError = errno;
    if (nError == EWOULDBLOCK)
        nHolderPid = FindLockHolder(fd);
    close(fd);
    if (nError == EWOULDBLOCK)
        return EInstanceLock::HeldByOther;
    strDetail += std::string(": ") + std::strerror(nError);
    return EInstanceLock::Unavailable;
}

unsigned CProcFsProcessList::FindLockHolder(int fd) const {
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return 0;
    // "1: FLOCK  ADVISORY  WRITE 1234 08:01:5678 0 EOF": the holder and the file, as
    // major:minor:inode of the device and the file.
    std::ifstream locks(m_strProcRoot + "/locks");
    for (std::string strLine; std::getline(locks, strLine);) {
        std::istringstream fields(strLine);
        std::string strNo, strKind, strMode, strAccess, strFile;
        unsigned nPid = 0;
        if (!(fields >> strNo >> strKind >> strMode >> strAccess >> nPid >> strFile) ||
            strKind != "FLOCK")
            continue; // also the "->" lines of waiters
        unsigned nMajor = 0, nMinor = 0;
        unsigned long long nInode = 0;
        if (std::sscanf(strFile.c_str(), "%x:%x:%llu", &nMajor, &nMinor, &nInode) == 3 &&
            nMajor == major(st.st_dev) && nMinor == minor(st.st_dev) && nInode == st.st_ino)
            return nPid;
    }
    return 0;
}

} // namespace tarnwick
