#include "platform/linux/CLinuxFileTimes.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwick {

namespace {
std::uint64_t FileTime(const struct stat& st) {
    const std::uint64_t ft = static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                             static_cast<std::uint64_t>(st.st_mtim.tv_nsec);
    return ft == 0 ? 1 : ft; // zero means "not seen yet" to the caller
}
} // namespace

bool CLinuxFileTimes::GetLastWriteTime(const std::string& strPath, std::uint64_t& ftLastWrite) {
    m_strLastError.clear();
    if (strPath.empty()) {
        m_strLastError = "no file name is set";
        return false;
    }
    struct stat st {};
    if (stat(strPath.c_str(), &st) != 0) {
        m_strLastError = std::strerror(errno);
        return false;
    }
    // Only a regular file is ever opened: opening a terminal can hang up the modem behind
    // it, opening /dev/watchdog arms a hardware reset, a FIFO can block. Anything else is
    // judged by its time alone.
    if (!S_ISREG(st.st_mode)) {
        ftLastWrite = FileTime(st);
        return true;
    }
    const int fd = open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        m_strLastError = std::strerror(errno);
        return false;
    }
    struct stat stOpened {};
    if (fstat(fd, &stOpened) != 0 || !S_ISREG(stOpened.st_mode) || stOpened.st_ino != st.st_ino ||
        stOpened.st_dev != st.st_dev) {
        // Replaced between the look and the open: go by what the look saw.
        close(fd);
        ftLastWrite = FileTime(st);
        return true;
    }

    // A writer that opens the file while the lease is held would make the kernel signal us;
    // SIGURG is ignored by default, where the default SIGIO would end the program.
    fcntl(fd, F_SETSIG, SIGURG);
    if (fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
        fcntl(fd, F_SETLEASE, F_UNLCK);
    } else if (errno == EAGAIN) {
        // Open for writing elsewhere: skip the file this time.
        m_strLastError = "another program has it open for writing";
        close(fd);
        return false;
    }
    // Any other failure (not the owner, a file system without leases): go by the time alone.
    close(fd);
    ftLastWrite = FileTime(stOpened);
    return true;
}

} // namespace tarnwick
