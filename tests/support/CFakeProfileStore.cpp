#include "CFakeProfileStore.h"

#include <charconv>

namespace tarnwick {

std::int32_t CFakeProfileStore::ReadProfileInt(const std::string& strSection,
                                               const std::string& strEntry, std::int32_t nDefault) {
    const std::string strText = ReadProfileString(strSection, strEntry, std::string());
    std::int32_t nValue = 0;
    const auto [pEnd, ec] =
        std::from_chars(strText.data(), strText.data() + strText.size(), nValue);
    const bool bWhole = ec == std::errc() && pEnd == strText.data() + strText.size();
    return bWhole && !strText.empty() ? nValue : nDefault;
}

} // namespace tarnwick
