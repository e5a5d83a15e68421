#include "platform/windows/Win32.h"

#include "platform/windows/CRegistryProfileStore.h"
#include "platform/windows/WinError.h"

#include <cstring>
#include <vector>

namespace tarnwick {

namespace {
// Reads one value of the section's key; false when the key or value is absent.
bool QueryValue(const std::string& strKey, const std::string& strEntry, DWORD& dwType,
                std::vector<BYTE>& data) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, strKey.c_str(), 0, KEY_QUERY_VALUE, &hKey) !=
        ERROR_SUCCESS)
        return false;
    LSTATUS nStatus = ERROR_MORE_DATA;
    DWORD cbData = 256;
    // The value may grow between the size query and the read: ask again until it fits.
    for (int nTry = 0; nTry < 4 && nStatus == ERROR_MORE_DATA; ++nTry) {
        data.assign(cbData + 1, 0);
        cbData = static_cast<DWORD>(data.size() - 1);
        nStatus = RegQueryValueExA(hKey, strEntry.c_str(), nullptr, &dwType, data.data(), &cbData);
    }
    RegCloseKey(hKey);
    if (nStatus != ERROR_SUCCESS)
        return false;
    data.resize(cbData);
    return true;
}
} // namespace

CRegistryProfileStore::CRegistryProfileStore(std::string strKey) : m_strKey(std::move(strKey)) {}

std::int32_t CRegistryProfileStore::ReadProfileInt(const std::string& strSection,
                                                   const std::string& strEntry,
                                                   std::int32_t nDefault) {
    DWORD dwType = 0;
    std::vector<BYTE> data;
    if (!QueryValue(m_strKey + "\\" + strSection, strEntry, dwType, data) || dwType != REG_DWORD ||
        data.size() != sizeof(DWORD))
        return nDefault;
    DWORD dwValue = 0;
    std::memcpy(&dwValue, data.data(), sizeof dwValue);
    return static_cast<std::int32_t>(dwValue);
}

std::string CRegistryProfileStore::ReadProfileString(const std::string& strSection,
                                                     const std::string& strEntry,
                                                     const std::string& strDefault) {
    DWORD dwType = 0;
    std::vector<BYTE> data;
    if (!QueryValue(m_strKey + "\\" + strSection, strEntry, dwType, data) ||
        (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return strDefault;
    // The stored text may or may not carry its terminating null (or several).
    std::string strValue(data.begin(), data.end());
    const std::size_t nNull = strValue.find('\0');
    if (nNull != std::string::npos)
        strValue.resize(nNull);
    return strValue;
}

bool CRegistryProfileStore::WriteValue(const std::string& strSection, const std::string& strEntry,
                                       unsigned long dwType, const void* pData,
                                       unsigned long cbData) {
    const std::string strKey = m_strKey + "\\" + strSection;
    HKEY hKey = nullptr;
    LSTATUS nStatus = RegCreateKeyExA(HKEY_CURRENT_USER, strKey.c_str(), 0, nullptr, 0,
                                      KEY_SET_VALUE, nullptr, &hKey, nullptr);
    if (nStatus == ERROR_SUCCESS) {
        nStatus = RegSetValueExA(hKey, strEntry.c_str(), 0, dwType, static_cast<const BYTE*>(pData),
                                 cbData);
        RegCloseKey(hKey);
    }
    if (nStatus != ERROR_SUCCESS) {
        m_bWriteFailed = true;
        m_strLastError = "HKEY_CURRENT_USER\\" + strKey + "\\" + strEntry + ": " +
                         Win32ErrorText(static_cast<unsigned long>(nStatus));
        return false;
    }
    return true;
}

bool CRegistryProfileStore::StoreProfileInt(const std::string& strSection,
                                            const std::string& strEntry, std::int32_t nValue) {
    const DWORD dwValue = static_cast<DWORD>(nValue);
    return WriteValue(strSection, strEntry, REG_DWORD, &dwValue, sizeof dwValue);
}

bool CRegistryProfileStore::StoreProfileString(const std::string& strSection,
                                               const std::string& strEntry,
                                               const std::string& strValue) {
    return WriteValue(strSection, strEntry, REG_SZ, strValue.c_str(),
                      static_cast<unsigned long>(strValue.size() + 1));
}

bool CRegistryProfileStore::Commit() {
    const bool bOk = !m_bWriteFailed;
    m_bWriteFailed = false;
    return bOk;
}

} // namespace tarnwick
