#include "platform/linux/CKeyFileProfileStore.h"

#include "platform/ILog.h"
#include "platform/linux/ProfileText.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tarnwick {

namespace {
// A settings file is a few hundred bytes; anything this large is not one of ours.
constexpr off_t kMaxFileSize = 1 << 20;
// A temporary file of a save younger than this may belong to a save in progress.
constexpr time_t kStaleAfterSeconds = 60;

std::string DirName(const std::string& strPath) {
    const std::string::size_type p = strPath.rfind('/');
    if (p == std::string::npos)
        return ".";
    return p == 0 ? "/" : strPath.substr(0, p);
}

// The file a chain of symbolic links ends at (the path itself when it is no link), so that a
// save replaces the file the link points to and keeps the link.
std::string ResolveLinks(std::string strPath) {
    for (int nHops = 0; nHops < 40; ++nHops) {
        char szTarget[PATH_MAX];
        const ssize_t n = readlink(strPath.c_str(), szTarget, sizeof szTarget);
        if (n <= 0 || static_cast<std::size_t>(n) >= sizeof szTarget)
            break;
        std::string strTarget(szTarget, static_cast<std::size_t>(n));
        strPath = strTarget[0] == '/' ? strTarget : DirName(strPath).append("/").append(strTarget);
    }
    return strPath;
}

bool WriteFileAtomically(const std::string& strPath, const std::string& strData,
                         std::string& strError) {
    GError* pError = nullptr;
    // Written to a temporary file, synced and renamed over the old one: a crash leaves the
    // old file or the new one, never a mix.
    const gboolean bOk = g_file_set_contents_full(
        strPath.c_str(), strData.data(), static_cast<gssize>(strData.size()),
        static_cast<GFileSetContentsFlags>(G_FILE_SET_CONTENTS_CONSISTENT |
                                           G_FILE_SET_CONTENTS_DURABLE),
        0600, &pError);
    if (pError != nullptr) {
        strError = pError->message;
        g_error_free(pError);
    }
    return bOk != FALSE;
}

// Removes "<name>.XXXXXX" files that a save interrupted by a crash or a power cut left in the
// folder: our own, regular, and not written to for a while.
void RemoveStaleTemporaries(const std::string& strFile, ILog& log) {
    const std::string strDir = DirName(strFile);
    const std::string strPrefix = strFile.substr(strFile.rfind('/') + 1) + ".";
    const std::string strRemoved = "removed " + strDir + "/";
    DIR* pDir = opendir(strDir.c_str());
    if (pDir == nullptr)
        return;
    while (const dirent* pEntry = readdir(pDir)) {
        const std::string strName = pEntry->d_name;
        if (strName.size() != strPrefix.size() + 6 ||
            strName.compare(0, strPrefix.size(), strPrefix) != 0)
            continue;
        const bool bTemplate =
            std::all_of(strName.begin() + static_cast<std::ptrdiff_t>(strPrefix.size()),
                        strName.end(), [](char c) { return g_ascii_isalnum(c); });
        struct stat st {};
        if (!bTemplate || fstatat(dirfd(pDir), strName.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(st.st_mode) || st.st_uid != getuid() ||
            std::time(nullptr) - st.st_mtime < kStaleAfterSeconds)
            continue;
        if (unlinkat(dirfd(pDir), strName.c_str(), 0) == 0)
            log.Write(LogLevel::Notice, "settings",
                      strRemoved + strName + ", left by a save that did not finish");
    }
    closedir(pDir);
}
} // namespace

CKeyFileProfileStore::CKeyFileProfileStore(std::string strPath, ILog& log)
    : m_strPath(std::move(strPath)), m_log(log), m_pKeyFile(g_key_file_new()) {
    const std::string strTarget = ResolveLinks(m_strPath);
    RemoveStaleTemporaries(strTarget, m_log);
    Read();
}

CKeyFileProfileStore::~CKeyFileProfileStore() {
    g_key_file_free(m_pKeyFile);
}

std::string CKeyFileProfileStore::DefaultPath() {
    std::string strConfig;
    const char* pszConfig = std::getenv("XDG_CONFIG_HOME");
    if (pszConfig != nullptr && pszConfig[0] == '/') {
        strConfig = pszConfig;
    } else {
        const char* pszHome = std::getenv("HOME");
        strConfig = std::string(pszHome != nullptr ? pszHome : g_get_home_dir()) + "/.config";
    }
    return strConfig + "/Tarnwick/Tarnwick.conf";
}

void CKeyFileProfileStore::Read() {
    // Non-blocking, and only a regular file is read: a FIFO or a device put in the file's
    // place must not hang the start or be read from.
    const int fd = open(m_strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0 && errno == ENOENT)
        return; // first start: the defaults
    std::string strWhy;
    std::string strText;
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0)
        strWhy = std::strerror(errno);
    else if (!S_ISREG(st.st_mode))
        strWhy = "not a regular file";
    else if (st.st_size > kMaxFileSize)
        strWhy = "larger than a settings file can be";
    for (char buf[4096]; fd >= 0 && strWhy.empty();) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            strWhy = std::strerror(errno);
        if (n <= 0)
            break;
        strText.append(buf, static_cast<std::size_t>(n));
        if (strText.size() > static_cast<std::size_t>(kMaxFileSize))
            strWhy = "larger than a settings file can be";
    }
    if (fd >= 0)
        close(fd);
    if (!strWhy.empty()) {
        m_eLoad = EProfileLoad::Unreadable;
        m_log.Write(LogLevel::Error, "settings",
                    "cannot read " + m_strPath + " (" + strWhy +
                        "): running on defaults; the file is left as it is and is not saved "
                        "over unless the settings are confirmed");
        return;
    }

    SProfileText parsed = ParseProfileText(strText);
    m_values = std::move(parsed.values);
    GError* pError = nullptr;
    if (!g_key_file_load_from_data(m_pKeyFile, parsed.strClean.data(), parsed.strClean.size(),
                                   G_KEY_FILE_KEEP_COMMENTS, &pError)) {
        // Its values are read all the same; only its comments will not survive a save.
        parsed.problems.emplace_back(pError->message);
        g_error_free(pError);
    }
    if (parsed.problems.empty())
        return;

    m_eLoad = EProfileLoad::Repaired;
    std::string strProblems;
    for (std::size_t i = 0; i < parsed.problems.size() && i < 5; ++i)
        strProblems += (i == 0 ? "" : "; ") + parsed.problems[i];
    if (parsed.problems.size() > 5)
        strProblems += "; and " + std::to_string(parsed.problems.size() - 5) + " more";
    const std::string strBad = ResolveLinks(m_strPath) + ".bad";
    std::string strError;
    const std::string strKept = WriteFileAtomically(strBad, strText, strError)
                                    ? "the file as it was is kept as " + strBad
                                    : "it could not be kept as " + strBad + " (" + strError + ")";
    m_log.Write(LogLevel::Warning, "settings",
                m_strPath + " is damaged (" + strProblems +
                    "): every value that could be read is used; " + strKept);
}

const std::string* CKeyFileProfileStore::Find(const std::string& strSection,
                                              const std::string& strEntry) const {
    auto it = m_values.find({strSection, strEntry});
    if (it == m_values.end())
        it = m_values.find({std::string(), strEntry}); // written before any section
    return it == m_values.end() ? nullptr : &it->second;
}

std::int32_t CKeyFileProfileStore::ReadProfileInt(const std::string& strSection,
                                                  const std::string& strEntry,
                                                  std::int32_t nDefault) {
    const std::string* pValue = Find(strSection, strEntry);
    if (pValue == nullptr)
        return nDefault;
    std::int32_t nValue = 0;
    if (ParseProfileInt(*pValue, nValue))
        return nValue;
    m_log.Write(LogLevel::Warning, "settings",
                strSection + "/" + strEntry + "=" + *pValue + " is not a number; " +
                    std::to_string(nDefault) + " is used");
    return nDefault;
}

std::string CKeyFileProfileStore::ReadProfileString(const std::string& strSection,
                                                    const std::string& strEntry,
                                                    const std::string& strDefault) {
    const std::string* pValue = Find(strSection, strEntry);
    return pValue == nullptr ? strDefault : *pValue;
}

bool CKeyFileProfileStore::StoreProfileInt(const std::string& strSection,
                                           const std::string& strEntry, std::int32_t nValue) {
    m_values[{strSection, strEntry}] = std::to_string(nValue);
    g_key_file_set_integer(m_pKeyFile, strSection.c_str(), strEntry.c_str(), nValue);
    return true;
}

bool CKeyFileProfileStore::StoreProfileString(const std::string& strSection,
                                              const std::string& strEntry,
                                              const std::string& strValue) {
    m_values[{strSection, strEntry}] = strValue;
    g_key_file_set_string(m_pKeyFile, strSection.c_str(), strEntry.c_str(), strValue.c_str());
    return true;
}

bool CKeyFileProfileStore::Commit() {
    const std::string strTarget = ResolveLinks(m_strPath);
    if (g_mkdir_with_parents(DirName(strTarget).c_str(), 0700) != 0) {
        m_log.Write(LogLevel::Error, "settings",
                    "cannot save: cannot create " + DirName(strTarget) + " (" +
                        std::strerror(errno) + ")");
        return false;
    }
    if (m_eLoad == EProfileLoad::Unreadable) {
        // The user confirmed every value; the file that could not be read is kept aside.
        const std::string strBad = strTarget + ".bad";
        if (rename(strTarget.c_str(), strBad.c_str()) != 0 && errno != ENOENT) {
            m_log.Write(LogLevel::Error, "settings",
                        "not saved: " + strTarget + " could not be read and cannot be moved to " +
                            strBad + " (" + std::strerror(errno) + ")");
            return false;
        }
        m_log.Write(LogLevel::Warning, "settings",
                    "the unreadable " + strTarget + " is kept as " + strBad);
        m_eLoad = EProfileLoad::Clean;
    }
    gsize nLength = 0;
    gchar* pszData = g_key_file_to_data(m_pKeyFile, &nLength, nullptr);
    std::string strError;
    const bool bOk = WriteFileAtomically(strTarget, std::string(pszData, nLength), strError);
    g_free(pszData);
    if (!bOk)
        m_log.Write(LogLevel::Error, "settings", "cannot save " + strTarget + ": " + strError);
    return bOk;
}

bool CKeyFileProfileStore::Reload() {
    // Read as at start, into a fresh state; a file that cannot be read brings the earlier
    // state back. A missing file reads as empty, so that every value keeps its last one.
    GKeyFile* pOldKeyFile = std::exchange(m_pKeyFile, g_key_file_new());
    auto oldValues = std::exchange(m_values, {});
    const EProfileLoad eOldLoad = std::exchange(m_eLoad, EProfileLoad::Clean);
    Read();
    if (m_eLoad == EProfileLoad::Unreadable) {
        g_key_file_free(std::exchange(m_pKeyFile, pOldKeyFile));
        m_values = std::move(oldValues);
        m_eLoad = eOldLoad;
        return false;
    }
    g_key_file_free(pOldKeyFile);
    return true;
}

} // namespace tarnwick
