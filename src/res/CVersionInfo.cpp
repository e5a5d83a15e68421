#include "res/CVersionInfo.h"

#include "res/Version.h"

#include <algorithm>
#include <utility>

namespace tarnwick {

CVersionInfo::CVersionInfo()
    : CVersionInfo({{"FileDescription", TARNWICK_PRODUCT_NAME},
                    {"FileVersion", TARNWICK_PRODUCT_VERSION},
                    {"InternalName", TARNWICK_PRODUCT_NAME},
                    {"LegalCopyright", TARNWICK_LEGAL_NOTICE},
                    {"OriginalFilename", "tarnwick"},
                    {"ProductName", TARNWICK_PRODUCT_NAME},
                    {"ProductVersion", TARNWICK_PRODUCT_VERSION}}) {}

CVersionInfo::CVersionInfo(std::map<std::string, std::string> strings)
    : m_strings(std::move(strings)) {}

std::string CVersionInfo::GetStringValue(const std::string& strName) const {
    const auto it = m_strings.find(strName);
    return it == m_strings.end() ? std::string() : it->second;
}

std::string FormatVersionString(const std::string& strVersion) {
    const std::string::size_type p = strVersion.find(',');
    std::string strClean = strVersion;
    strClean.erase(std::remove(strClean.begin(), strClean.end(), ','), strClean.end());
    strClean.erase(std::remove(strClean.begin(), strClean.end(), ' '), strClean.end());
    if (p == std::string::npos)
        return "." + strClean;
    const std::string::size_type n = std::min(p, strClean.size());
    return strClean.substr(0, n) + "." + strClean.substr(n);
}

std::string GetProductVersionText(const CVersionInfo& info) {
    return info.GetStringValue("ProductName") + "\nVersion " +
           FormatVersionString(info.GetStringValue("ProductVersion"));
}

std::string GetProductVersionText() {
    return GetProductVersionText(CVersionInfo());
}

} // namespace tarnwick
