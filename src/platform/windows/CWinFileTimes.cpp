#include "platform/windows/Win32.h"

#include "platform/windows/CWinFileTimes.h"

namespace tarnwick {

bool CWinFileTimes::GetLastWriteTime(const std::string& strPath, std::uint64_t& ftLastWrite) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (strPath.empty() || strPath.rfind("\\\\.\\", 0) == 0 ||
        !GetFileAttributesExA(strPath.c_str(), GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0)
        return false;
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    FILETIME ft{};
    const bool bOk =
        GetFileType(hFile) == FILE_TYPE_DISK && GetFileTime(hFile, nullptr, nullptr, &ft);
    CloseHandle(hFile);
    if (!bOk)
        return false;
    ftLastWrite = (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return true;
}

} // namespace tarnwick
