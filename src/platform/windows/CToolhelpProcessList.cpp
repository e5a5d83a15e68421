#include "platform/windows/Win32.h"

#include "platform/windows/CToolhelpProcessList.h"
#include "platform/windows/WinError.h"

#include <vector>

namespace tarnwick {

namespace {
// The user a process's token names, as a TOKEN_USER record; false when the token cannot be
// read.
bool ReadTokenUser(HANDLE hProcess, std::vector<BYTE>& user) {
    HANDLE hToken = nullptr;
    if (!OpenProcessToken(hProcess, TOKEN_QUERY, &hToken))
        return false;
    DWORD cb = 0;
    GetTokenInformation(hToken, TokenUser, nullptr, 0, &cb);
    user.assign(cb, 0);
    const bool bOk = cb >= sizeof(TOKEN_USER) &&
                     GetTokenInformation(hToken, TokenUser, user.data(), cb, &cb) != FALSE;
    CloseHandle(hToken);
    return bOk;
}

// Whether the process runs as the user pOwnSid names. A process whose token we may not read
// belongs to someone else (another user, or the system), as one that has ended meanwhile
// is nobody's.
bool RunsAsUser(DWORD dwProcessId, PSID pOwnSid) {
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, dwProcessId);
    if (hProcess == nullptr)
        return false;
    std::vector<BYTE> user;
    const bool bOwn =
        ReadTokenUser(hProcess, user) &&
        EqualSid(reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid, pOwnSid) != FALSE;
    CloseHandle(hProcess);
    return bOwn;
}
} // namespace

CToolhelpProcessList::CToolhelpProcessList(std::string strArgv0)
    : m_strArgv0(std::move(strArgv0)) {}

CToolhelpProcessList::~CToolhelpProcessList() {
    if (m_hInstanceLock != nullptr)
        CloseHandle(m_hInstanceLock);
}

bool CToolhelpProcessList::Snapshot(std::vector<SProcessEntry>& processes) {
    processes.clear();
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return false;
    // Without our own user nobody is known to be us: no process then counts as an instance
    // of ours, as on a system where the owners cannot be read.
    std::vector<BYTE> ownUser;
    const bool bOwnKnown = ReadTokenUser(GetCurrentProcess(), ownUser);
    PSID pOwnSid =
        bOwnKnown ? reinterpret_cast<const TOKEN_USER*>(ownUser.data())->User.Sid : nullptr;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL bMore = Process32First(hSnapshot, &entry); bMore;
         bMore = Process32Next(hSnapshot, &entry)) {
        processes.push_back({static_cast<unsigned>(entry.th32ProcessID), entry.szExeFile,
                             pOwnSid != nullptr && RunsAsUser(entry.th32ProcessID, pOwnSid)});
    }
    CloseHandle(hSnapshot);
    return true;
}

unsigned CToolhelpProcessList::GetCurrentProcessId() {
    return static_cast<unsigned>(::GetCurrentProcessId());
}

std::string CToolhelpProcessList::GetOwnExePath() {
    // The full path, whatever the program was started as: a relative argv[0] would not
    // start anything at log-on.
    std::string strPath(MAX_PATH, '\0');
    for (int nTry = 0; nTry < 6; ++nTry) {
        const DWORD nLen =
            GetModuleFileNameA(nullptr, strPath.data(), static_cast<DWORD>(strPath.size()));
        if (nLen == 0)
            return m_strArgv0;
        if (nLen < strPath.size()) {
            strPath.resize(nLen);
            return strPath;
        }
        strPath.resize(strPath.size() * 2);
    }
    return m_strArgv0;
}

std::string CToolhelpProcessList::GetOwnExeName() {
    const std::size_t nSlash = m_strArgv0.find_last_of("\\/:");
    std::string strName = nSlash == std::string::npos ? m_strArgv0 : m_strArgv0.substr(nSlash + 1);
    // Started by name without its extension, argv[0] lacks the ".exe" that the process list
    // shows.
    if (strName.size() < 4 || _stricmp(strName.c_str() + strName.size() - 4, ".exe") != 0)
        strName += ".exe";
    return strName;
}

EInstanceLock CToolhelpProcessList::LockInstance(unsigned& nHolderPid, std::string& strDetail) {
    nHolderPid = 0; // a mutex does not tell who holds it
    std::string strName = GetOwnExeName();
    for (char& c : strName)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    strDetail = "Global\\" + strName + ".lock";
    if (m_hInstanceLock != nullptr)
        return EInstanceLock::Taken;
    // The mutex is only named, never waited for: it exists exactly as long as a process
    // holds a handle to it.
    HANDLE hMutex = CreateMutexA(nullptr, FALSE, strDetail.c_str());
    const DWORD dwError = ::GetLastError();
    if (hMutex != nullptr && dwError != ERROR_ALREADY_EXISTS) {
        m_hInstanceLock = hMutex;
        return EInstanceLock::Taken;
    }
    if (hMutex != nullptr)
        CloseHandle(hMutex);
    // Another user's instance made it with a security descriptor that keeps us out.
    if (hMutex != nullptr || dwError == ERROR_ACCESS_DENIED)
        return EInstanceLock::HeldByOther;
    strDetail += ": " + Win32ErrorText(dwError);
    return EInstanceLock::Unavailable;
}

} // namespace tarnwick
