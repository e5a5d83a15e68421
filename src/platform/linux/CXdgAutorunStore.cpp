#include "platform/linux/CXdgAutorunStore.h"

#include <glib.h>

#include <cerrno>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tarnwick {

namespace {
constexpr const char* kDesktopFile = "Tarnwick.desktop";
constexpr const char* kUnitFile = "tarnwick.service";

// Creates the missing folders of strDir and records each one made, outermost first, so that
// a failed change can take them away again.
bool MakeDirs(const std::string& strDir, std::vector<std::string>& created) {
    std::string::size_type nPos = 0;
    while (nPos != std::string::npos) {
        nPos = strDir.find('/', nPos + 1);
        const std::string strPart = strDir.substr(0, nPos);
        if (mkdir(strPart.c_str(), 0700) == 0) {
            created.push_back(strPart);
            continue;
        }
        struct stat st {};
        if (errno != EEXIST || stat(strPart.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return false;
    }
    return true;
}

void RemoveDirs(std::vector<std::string>& created) {
    // The deepest first.
    while (!created.empty()) {
        rmdir(created.back().c_str());
        created.pop_back();
    }
}

// Replaces the file as a whole: a temporary file beside it, synced, renamed over it.
bool WriteFile(const std::string& strPath, const std::string& strText) {
    return g_file_set_contents_full(
               strPath.c_str(), strText.data(), static_cast<gssize>(strText.size()),
               static_cast<GFileSetContentsFlags>(G_FILE_SET_CONTENTS_CONSISTENT |
                                                  G_FILE_SET_CONTENTS_DURABLE),
               0644, nullptr) != FALSE;
}

bool ReadFile(const std::string& strPath, std::string& strText) {
    gchar* pszData = nullptr;
    gsize nLength = 0;
    if (!g_file_get_contents(strPath.c_str(), &pszData, &nLength, nullptr))
        return false;
    strText.assign(pszData, nLength);
    g_free(pszData);
    return true;
}

// Removes a file or link; one that is not there is no failure.
bool RemoveFile(const std::string& strPath) {
    return unlink(strPath.c_str()) == 0 || errno == ENOENT || errno == ENOTDIR;
}

bool IsDirectory(const std::string& strPath) {
    struct stat st {};
    return lstat(strPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ParentDir(const std::string& strPath) {
    return strPath.substr(0, strPath.rfind('/'));
}

// A unit name taken from a file may only name a folder beside the unit, never another place.
bool IsPlainUnitName(const std::string& strName) {
    return !strName.empty() && strName != "." && strName != ".." &&
           strName.find('/') == std::string::npos;
}

std::string DesktopEntryText(const std::string& strCommand) {
    // NoDisplay: the program's own settings switch this entry; a second switch in the
    // desktop's start-up list would be overwritten at the program's next start.
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Version=1.0\n"
           "Name=Tarnwick\n"
           "Comment=Keeps the modem Internet link alive\n"
           "Exec=" +
           CXdgAutorunStore::QuoteDesktopExec(strCommand) +
           "\n"
           "Icon=tarnwick\n"
           "Terminal=false\n"
           "NoDisplay=true\n"
           "X-GNOME-Autostart-enabled=true\n";
}

std::string UnitText(const std::string& strCommand) {
    return "[Unit]\n"
           "Description=Tarnwick: keeps the modem Internet link alive\n"
           "\n"
           "[Service]\n"
           "Type=simple\n"
           "ExecStart=" +
           CXdgAutorunStore::QuoteSystemdExec(strCommand) +
           "\n"
           "Restart=on-failure\n"
           "RestartSec=30\n"
           "\n"
           "[Install]\n"
           "WantedBy=" +
           std::string(CXdgAutorunStore::kUnitTarget) + "\n";
}
} // namespace

CXdgAutorunStore::CXdgAutorunStore(std::string strConfigDir)
    : m_strConfigDir(std::move(strConfigDir)) {}

std::string CXdgAutorunStore::DesktopEntryPath() const {
    return m_strConfigDir + "/autostart/" + kDesktopFile;
}

std::string CXdgAutorunStore::UnitPath() const {
    return m_strConfigDir + "/systemd/user/" + kUnitFile;
}

std::string CXdgAutorunStore::UnitLinkPath(const std::string& strTarget) const {
    return m_strConfigDir + "/systemd/user/" + strTarget + ".wants/" + kUnitFile;
}

std::string CXdgAutorunStore::QuoteDesktopExec(const std::string& strPath) {
    // The Exec key's own quoting first: the whole argument in double quotes, with '"', '`',
    // '$' and '\' preceded by a backslash, and '%' doubled (it starts field codes even in
    // quotes).
    std::string strQuoted = "\"";
    for (char c : strPath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            strQuoted += '\\';
        if (c == '%')
            strQuoted += '%';
        strQuoted += c;
    }
    strQuoted += '"';
    // Then the escapes of every key file value, which readers undo first.
    std::string strValue;
    for (char c : strQuoted) {
        switch (c) {
        case '\\':
            strValue += "\\\\";
            break;
        case '\n':
            strValue += "\\n";
            break;
        case '\t':
            strValue += "\\t";
            break;
        case '\r':
            strValue += "\\r";
            break;
        default:
            strValue += c;
        }
    }
    return strValue;
}

std::string CXdgAutorunStore::QuoteSystemdExec(const std::string& strPath) {
    // One double-quoted word; '%' starts a specifier anywhere on the line and is doubled.
    // The executable's path is taken literally otherwise (no variables are expanded in it).
    std::string strQuoted = "\"";
    for (char c : strPath) {
        if (c == '%')
            strQuoted += '%';
        strQuoted += c;
    }
    strQuoted += '"';
    return strQuoted;
}

bool CXdgAutorunStore::IsSystemdExecutablePath(const std::string& strPath) {
    // systemd refuses an executable whose path holds quotes, backslashes or control
    // characters, however they are escaped.
    if (strPath.empty())
        return false;
    for (char c : strPath) {
        const auto uc = static_cast<unsigned char>(c);
        if (uc < 0x20 || uc == 0x7f || c == '"' || c == '\'' || c == '\\')
            return false;
    }
    return true;
}

bool CXdgAutorunStore::SetRunKeyEntry(bool bAdd, const std::string& strCommand) {
    const std::string strPath = DesktopEntryPath();
    if (!bAdd)
        return RemoveFile(strPath);
    // A desktop entry is UTF-8 text; a path that is not cannot be written into one.
    if (strCommand.empty() ||
        !g_utf8_validate(strCommand.data(), static_cast<gssize>(strCommand.size()), nullptr))
        return false;
    std::vector<std::string> created;
    if (!MakeDirs(ParentDir(strPath), created) ||
        !WriteFile(strPath, DesktopEntryText(strCommand))) {
        RemoveDirs(created);
        return false;
    }
    return true;
}

bool CXdgAutorunStore::SetWinIniEntry(bool bAdd, const std::string& strCommand) {
    return bAdd ? AddUnit(strCommand) : RemoveUnit();
}

std::vector<std::string> CXdgAutorunStore::LinkedTargets() const {
    std::vector<std::string> targets{kUnitTarget};
    std::string strText;
    if (!ReadFile(UnitPath(), strText))
        return targets;
    std::istringstream lines(strText);
    std::string strLine;
    bool bInstall = false;
    while (std::getline(lines, strLine)) {
        if (!strLine.empty() && strLine[0] == '[')
            bInstall = strLine.rfind("[Install]", 0) == 0;
        const std::string strKey = "WantedBy=";
        if (!bInstall || strLine.rfind(strKey, 0) != 0)
            continue;
        std::istringstream names(strLine.substr(strKey.size()));
        std::string strName;
        while (names >> strName) {
            if (IsPlainUnitName(strName) && strName != kUnitTarget)
                targets.push_back(strName);
        }
    }
    return targets;
}

bool CXdgAutorunStore::AddUnit(const std::string& strCommand) {
    if (!IsSystemdExecutablePath(strCommand))
        return false;
    const std::string strUnit = UnitPath();
    const std::string strLink = UnitLinkPath(kUnitTarget);
    const std::vector<std::string> oldTargets = LinkedTargets();
    std::string strOldUnit;
    const bool bHadUnit = ReadFile(strUnit, strOldUnit);
    // Something that is not a link where the link belongs is not replaced.
    if (IsDirectory(strLink))
        return false;

    std::vector<std::string> created;
    if (!MakeDirs(ParentDir(strLink), created)) {
        RemoveDirs(created);
        return false;
    }
    // The link is prepared beside its final name, then the unit is written, then the link
    // is renamed into place: a failure at any step leaves the previous state.
    const std::string strTempLink = strLink + ".tmp-" + std::to_string(getpid());
    unlink(strTempLink.c_str());
    if (symlink(strUnit.c_str(), strTempLink.c_str()) != 0) {
        RemoveDirs(created);
        return false;
    }
    if (!WriteFile(strUnit, UnitText(strCommand))) {
        unlink(strTempLink.c_str());
        RemoveDirs(created);
        return false;
    }
    if (rename(strTempLink.c_str(), strLink.c_str()) != 0) {
        unlink(strTempLink.c_str());
        if (bHadUnit)
            WriteFile(strUnit, strOldUnit);
        else
            unlink(strUnit.c_str());
        RemoveDirs(created);
        return false;
    }
    // Links for targets that an earlier unit named are stale now.
    for (const std::string& strTarget : oldTargets) {
        if (strTarget != kUnitTarget)
            RemoveFile(UnitLinkPath(strTarget));
    }
    return true;
}

bool CXdgAutorunStore::RemoveUnit() {
    // Links first: a unit whose link cannot be removed stays as it was, still enabled.
    for (const std::string& strTarget : LinkedTargets()) {
        if (!RemoveFile(UnitLinkPath(strTarget)))
            return false;
    }
    return RemoveFile(UnitPath());
}

} // namespace tarnwick
