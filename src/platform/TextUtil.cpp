#include "platform/TextUtil.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <cwctype>

namespace tarnwick {

namespace {
template <typename Fn> std::string MapChars(const std::string& strText, Fn fnMap) {
    std::string strOut;
    strOut.reserve(strText.size());
    std::mbstate_t inState{};
    std::mbstate_t outState{};
    const char* p = strText.data();
    std::size_t nLeft = strText.size();
    char buf[MB_LEN_MAX];
    while (nLeft > 0) {
        // ASCII is itself in every locale's character set: no conversion needed, unless its
        // mapping leaves ASCII (a Turkish dotless i).
        if (const auto c = static_cast<unsigned char>(*p); c < 0x80 && std::mbsinit(&inState)) {
            if (const wint_t mapped = fnMap(static_cast<wchar_t>(c)); mapped < 0x80) {
                strOut.push_back(static_cast<char>(mapped));
                ++p;
                --nLeft;
                continue;
            }
        }
        wchar_t wc = 0;
        const std::size_t n = std::mbrtowc(&wc, p, nLeft, &inState);
        if (n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2) || n == 0) {
            // Not a character in this locale: keep the byte and start afresh after it.
            strOut.push_back(*p);
            ++p;
            --nLeft;
            inState = std::mbstate_t{};
            continue;
        }
        const std::size_t nOut = std::wcrtomb(buf, static_cast<wchar_t>(fnMap(wc)), &outState);
        if (nOut == static_cast<std::size_t>(-1))
            strOut.append(p, n);
        else
            strOut.append(buf, nOut);
        p += n;
        nLeft -= n;
    }
    return strOut;
}
} // namespace

std::string MbLower(const std::string& strText) {
    return MapChars(strText, [](wchar_t wc) { return std::towlower(static_cast<wint_t>(wc)); });
}

std::string MbUpper(const std::string& strText) {
    return MapChars(strText, [](wchar_t wc) { return std::towupper(static_cast<wint_t>(wc)); });
}

int AtoI(const std::string& strText) {
    std::size_t i = 0;
    while (i < strText.size() && std::isspace(static_cast<unsigned char>(strText[i])))
        ++i;
    bool bNegative = false;
    if (i < strText.size() && (strText[i] == '+' || strText[i] == '-')) {
        bNegative = strText[i] == '-';
        ++i;
    }
    // The magnitude stops growing just past the 32-bit range: the result saturates.
    constexpr std::int64_t kLimit = std::int64_t{INT_MAX} + 1;
    std::int64_t nValue = 0;
    for (; i < strText.size() && std::isdigit(static_cast<unsigned char>(strText[i])); ++i)
        nValue = std::min(nValue * 10 + (strText[i] - '0'), kLimit);
    if (bNegative)
        nValue = -nValue;
    return static_cast<int>(std::min<std::int64_t>(nValue, INT_MAX));
}

} // namespace tarnwick
