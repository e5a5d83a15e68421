#include "platform/linux/CKeyFileProfileStore.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <cstdlib>
#include <utility>

namespace tarnwick {

CKeyFileProfileStore::CKeyFileProfileStore(std::string strPath)
    : m_strPath(std::move(strPath)), m_pKeyFile(g_key_file_new()) {
    g_key_file_load_from_file(m_pKeyFile, m_strPath.c_str(), G_KEY_FILE_KEEP_COMMENTS, nullptr);
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

std::int32_t CKeyFileProfileStore::ReadProfileInt(const std::string& strSection,
                                                  const std::string& strEntry,
                                                  std::int32_t nDefault) {
    GError* pError = nullptr;
    const gint nValue =
        g_key_file_get_integer(m_pKeyFile, strSection.c_str(), strEntry.c_str(), &pError);
    if (pError != nullptr) {
        // Absent, or not an integer: the field keeps its value.
        g_error_free(pError);
        return nDefault;
    }
    return nValue;
}

std::string CKeyFileProfileStore::ReadProfileString(const std::string& strSection,
                                                    const std::string& strEntry,
                                                    const std::string& strDefault) {
    gchar* pszValue =
        g_key_file_get_string(m_pKeyFile, strSection.c_str(), strEntry.c_str(), nullptr);
    if (pszValue == nullptr)
        return strDefault;
    std::string strValue = pszValue;
    g_free(pszValue);
    return strValue;
}

bool CKeyFileProfileStore::StoreProfileInt(const std::string& strSection,
                                           const std::string& strEntry, std::int32_t nValue) {
    g_key_file_set_integer(m_pKeyFile, strSection.c_str(), strEntry.c_str(), nValue);
    return true;
}

bool CKeyFileProfileStore::StoreProfileString(const std::string& strSection,
                                              const std::string& strEntry,
                                              const std::string& strValue) {
    g_key_file_set_string(m_pKeyFile, strSection.c_str(), strEntry.c_str(), strValue.c_str());
    return true;
}

bool CKeyFileProfileStore::Commit() {
    gchar* pszDir = g_path_get_dirname(m_strPath.c_str());
    const bool bDir = g_mkdir_with_parents(pszDir, 0700) == 0;
    g_free(pszDir);
    if (!bDir)
        return false;
    gsize nLength = 0;
    gchar* pszData = g_key_file_to_data(m_pKeyFile, &nLength, nullptr);
    // Written to a temporary file, synced and renamed over the old one: a crash leaves the
    // old file or the new one, never a mix.
    const gboolean bOk =
        g_file_set_contents_full(m_strPath.c_str(), pszData, static_cast<gssize>(nLength),
                                 static_cast<GFileSetContentsFlags>(G_FILE_SET_CONTENTS_CONSISTENT |
                                                                    G_FILE_SET_CONTENTS_DURABLE),
                                 0600, nullptr);
    g_free(pszData);
    return bOk != FALSE;
}

bool CKeyFileProfileStore::Reload() {
    GKeyFile* pKeyFile = g_key_file_new();
    if (!g_key_file_load_from_file(pKeyFile, m_strPath.c_str(), G_KEY_FILE_KEEP_COMMENTS,
                                   nullptr)) {
        g_key_file_free(pKeyFile);
        return false;
    }
    g_key_file_free(m_pKeyFile);
    m_pKeyFile = pKeyFile;
    return true;
}

} // namespace tarnwick
