#include "platform/linux/CProcFsProcessList.h"

#include <climits>
#include <dirent.h>
#include <fstream>
#include <iterator>
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
} // namespace

CProcFsProcessList::CProcFsProcessList(std::string strArgv0, std::string strProcRoot)
    : m_strArgv0(std::move(strArgv0)), m_strProcRoot(std::move(strProcRoot)) {}

bool CProcFsProcessList::Snapshot(std::vector<SProcessEntry>& processes) {
    DIR* pDir = opendir(m_strProcRoot.c_str());
    if (pDir == nullptr)
        return false;
    processes.clear();
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
        if (!strExe.empty())
            processes.push_back({static_cast<unsigned>(nPid), BaseName(strExe)});
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
    return BaseName(m_strArgv0);
}

} // namespace tarnwick
