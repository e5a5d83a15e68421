#include "platform/FlatJson.h"

#include <cctype>
#include <cstdio>

namespace tarnwick {

namespace {
void SkipSpace(const std::string& s, std::size_t& p) {
    while (p < s.size() && std::isspace(static_cast<unsigned char>(s[p])))
        ++p;
}

bool ReadString(const std::string& s, std::size_t& p, std::string& strOut) {
    if (p >= s.size() || s[p] != '"')
        return false;
    strOut.clear();
    for (++p; p < s.size(); ++p) {
        const char c = s[p];
        if (c == '"') {
            ++p;
            return true;
        }
        if (static_cast<unsigned char>(c) < 0x20)
            return false;
        if (c != '\\') {
            strOut += c;
            continue;
        }
        if (++p >= s.size())
            return false;
        switch (s[p]) {
        case '"':
        case '\\':
        case '/':
            strOut += s[p];
            break;
        case 'n':
            strOut += '\n';
            break;
        case 't':
            strOut += '\t';
            break;
        case 'u': {
            // Only what JsonQuote writes: control characters.
            unsigned nCode = 0;
            if (p + 4 >= s.size() || std::sscanf(s.c_str() + p + 1, "%4x", &nCode) != 1 ||
                nCode > 0x7F)
                return false;
            strOut += static_cast<char>(nCode);
            p += 4;
            break;
        }
        default:
            return false;
        }
    }
    return false;
}

bool ReadInteger(const std::string& s, std::size_t& p, std::string& strOut) {
    const std::size_t nStart = p;
    if (p < s.size() && s[p] == '-')
        ++p;
    const std::size_t nDigits = p;
    while (p < s.size() && std::isdigit(static_cast<unsigned char>(s[p])))
        ++p;
    if (p == nDigits || p - nDigits > 18)
        return false;
    strOut = s.substr(nStart, p - nStart);
    return true;
}
} // namespace

bool ParseFlatJson(const std::string& strLine, std::map<std::string, std::string>& fields) {
    fields.clear();
    std::size_t p = 0;
    SkipSpace(strLine, p);
    if (p >= strLine.size() || strLine[p++] != '{')
        return false;
    SkipSpace(strLine, p);
    if (p < strLine.size() && strLine[p] == '}') {
        ++p;
    } else {
        for (;;) {
            std::string strName, strValue;
            SkipSpace(strLine, p);
            if (!ReadString(strLine, p, strName))
                return false;
            SkipSpace(strLine, p);
            if (p >= strLine.size() || strLine[p++] != ':')
                return false;
            SkipSpace(strLine, p);
            const bool bValue = (p < strLine.size() && strLine[p] == '"')
                                    ? ReadString(strLine, p, strValue)
                                    : ReadInteger(strLine, p, strValue);
            if (!bValue)
                return false;
            fields[strName] = strValue;
            SkipSpace(strLine, p);
            if (p >= strLine.size())
                return false;
            if (strLine[p] == '}') {
                ++p;
                break;
            }
            if (strLine[p++] != ',')
                return false;
        }
    }
    SkipSpace(strLine, p);
    return p == strLine.size();
}

std::string JsonQuote(const std::string& strText) {
    std::string strOut = "\"";
    for (char c : strText) {
        if (c == '"' || c == '\\') {
            strOut += '\\';
            strOut += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char sz[8];
            std::snprintf(sz, sizeof sz, "\\u%04x", static_cast<unsigned>(c));
            strOut += sz;
        } else {
            strOut += c;
        }
    }
    return strOut + '"';
}

} // namespace tarnwick
