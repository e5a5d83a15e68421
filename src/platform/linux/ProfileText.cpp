#include "platform/linux/ProfileText.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace tarnwick {

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string Trim(const std::string& str) {
    std::string::size_type b = 0;
    std::string::size_type e = str.size();
    while (b < e && IsBlank(str[b]))
        ++b;
    while (e > b && IsBlank(str[e - 1]))
        --e;
    return str.substr(b, e - b);
}

bool HasControlOrBracket(const std::string& str) {
    return std::any_of(str.begin(), str.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F || c == '[' || c == ']';
    });
}

// The escapes the file's writer uses (\s \n \t \r \\); any other backslash stays as it is,
// so a hand-written "C:\temp" reads as written.
std::string Unescape(const std::string& str) {
    std::string strOut;
    strOut.reserve(str.size());
    for (std::string::size_type i = 0; i < str.size(); ++i) {
        if (str[i] != '\\' || i + 1 == str.size()) {
            strOut += str[i];
            continue;
        }
        switch (str[i + 1]) {
        case 's':
            strOut += ' ';
            break;
        case 'n':
            strOut += '\n';
            break;
        case 't':
            strOut += '\t';
            break;
        case 'r':
            strOut += '\r';
            break;
        case '\\':
            strOut += '\\';
            break;
        default:
            strOut += str[i];
            continue;
        }
        ++i;
    }
    return strOut;
}
} // namespace

SProfileText ParseProfileText(const std::string& strText) {
    SProfileText result;
    std::string strData = strText;
    if (strData.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        strData.erase(0, 3);
        result.problems.emplace_back("a byte-order mark at the start");
    }
    if (strData.find('\0') != std::string::npos) {
        strData.erase(std::remove(strData.begin(), strData.end(), '\0'), strData.end());
        result.problems.emplace_back("NUL bytes in the text");
    }

    std::string strSection;
    bool bInSection = false;
    std::string::size_type nStart = 0;
    for (int nLine = 1; nStart < strData.size(); ++nLine) {
        std::string::size_type nEnd = strData.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = strData.size();
        std::string strLine = strData.substr(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();

        const std::string strTrimmed = Trim(strLine);
        std::string strFault;
        if (strTrimmed.empty() || strTrimmed[0] == '#') {
            // Blank or a comment: kept as it is.
        } else if (strTrimmed[0] == '[') {
            const std::string strName = strTrimmed.size() >= 2 && strTrimmed.back() == ']'
                                            ? strTrimmed.substr(1, strTrimmed.size() - 2)
                                            : std::string();
            if (strName.empty() || HasControlOrBracket(strName)) {
                strFault = "not a section heading";
            } else {
                strSection = strName;
                bInSection = true;
                strLine = "[" + strName + "]";
            }
        } else if (const auto nEq = strLine.find('='); nEq != std::string::npos) {
            const std::string strName = Trim(strLine.substr(0, nEq));
            std::string strValue = strLine.substr(nEq + 1);
            strValue.erase(0, strValue.find_first_not_of(" \t\v\f"));
            if (strName.empty() || HasControlOrBracket(strName)) {
                strFault = "not a value name";
            } else {
                result.values[{bInSection ? strSection : std::string(), strName}] =
                    Unescape(strValue);
                if (!bInSection)
                    strFault = "a value before any section";
            }
        } else {
            strFault = "no '=' in it";
        }
        if (!strFault.empty()) {
            result.problems.push_back("line " + std::to_string(nLine) + ": " + strFault);
            strLine.insert(0, 1, '#');
        }
        result.strClean += strLine;
        result.strClean += '\n';
    }
    return result;
}

bool ParseProfileInt(const std::string& strValue, std::int32_t& nValue) {
    std::string str = Trim(strValue);
    bool bNegative = false;
    if (!str.empty() && (str[0] == '-' || str[0] == '+')) {
        bNegative = str[0] == '-';
        str.erase(0, 1);
    }
    int nBase = 10;
    if (str.size() > 2 && str[0] == '0' && (str[1] == 'x' || str[1] == 'X')) {
        nBase = 16;
        str.erase(0, 2);
    }
    // Digits only: strtoll alone would accept blanks, a second sign or a second "0x".
    const auto isDigit = [nBase](char c) {
        return nBase == 16 ? std::isxdigit(static_cast<unsigned char>(c)) != 0
                           : c >= '0' && c <= '9';
    };
    if (str.empty() || !std::all_of(str.begin(), str.end(), isDigit))
        return false;
    errno = 0;
    long long nParsed = std::strtoll(str.c_str(), nullptr, nBase);
    if (errno == ERANGE)
        return false;
    if (bNegative)
        nParsed = -nParsed;
    if (nParsed < INT32_MIN || nParsed > INT32_MAX)
        return false;
    nValue = static_cast<std::int32_t>(nParsed);
    return true;
}

} // namespace tarnwick
