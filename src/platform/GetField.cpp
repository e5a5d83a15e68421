#include "platform/GetField.h"

namespace tarnwick {

std::string GetField(const std::string& strText, int n, char chSep) {
    if (n < 1)
        return std::string();
    std::string::size_type nStart = 0;
    for (int i = 1; i < n; ++i) {
        const std::string::size_type d = strText.find(chSep, nStart);
        if (d == std::string::npos)
            return std::string();
        nStart = d + 1;
    }
    const std::string::size_type d = strText.find(chSep, nStart);
    return strText.substr(nStart, d == std::string::npos ? std::string::npos : d - nStart);
}

} // namespace tarnwick
