#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tarnwick {

// The settings file's text as read by a forgiving reader: every line that holds a value is
// read, whatever comes before or after it.
struct SProfileText {
    // Values by (section, name), unescaped; the last of two equal names wins. A value
    // written before any section heading is kept under the empty section name.
    std::map<std::pair<std::string, std::string>, std::string> values;
    // The text again, fit for a strict INI reader: what it would refuse (a byte-order mark,
    // NUL bytes, a value before any section, a line that is neither heading, value nor
    // comment) is removed or turned into a comment, so nothing of it is lost on a rewrite.
    std::string strClean;
    // What had to be mended, one entry per fault ("line 3: no '=' in it").
    std::vector<std::string> problems;
};

SProfileText ParseProfileText(const std::string& strText);

// An integer as a user may write it: decimal, or hexadecimal after "0x", with an optional
// sign and blanks around it; nothing else on the line. False when it is not one or does not
// fit 32 bits.
bool ParseProfileInt(const std::string& strValue, std::int32_t& nValue);

} // namespace tarnwick
