#include "platform/linux/CLinuxFileTimes.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwick {

bool CLinuxFileTimes::GetLastWriteTime(const std::string& strPath, std::uint64_t& ftLastWrite) {
    if (strPath.empty())
        return false;
    const int fd = open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return false;

    // A writer that opens the file while the lease is held would make the kernel signal us;
    // SIGURG is ignored by default, where the default SIGIO would end the program.
    fcntl(fd, F_SETSIG, SIGURG);
    if (fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
        fcntl(fd, F_SETLEASE, F_UNLCK);
    } else if (errno == EAGAIN) {
        // Open for writing elsewhere: skip the file this time.
        close(fd);
        return false;
    }
    // Any other failure (not the owner, a file system without leases): go by the time alone.

    struct stat st {};
    const bool bOk = fstat(fd, &st) == 0;
    close(fd);
    if (!bOk)
        return false;
    ftLastWrite = static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                  static_cast<std::uint64_t>(st.st_mtim.tv_nsec);
    if (ftLastWrite == 0)
        ftLastWrite = 1; // zero means "not seen yet" to the caller
    return true;
}

} // namespace tarnwick
