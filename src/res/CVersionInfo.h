#pragma once

#include <map>
#include <string>

namespace tarnwick {

// The program's version strings ("ProductName", "ProductVersion", ...), compiled in from the
// project version.
class CVersionInfo {
public:
    // The program's own strings.
    CVersionInfo();
    // Other strings, for a reader over another table.
    explicit CVersionInfo(std::map<std::string, std::string> strings);
    virtual ~CVersionInfo() = default;

    // The named string, or an empty text.
    std::string GetStringValue(const std::string& strName) const;

private:
    std::map<std::string, std::string> m_strings;
};

// "1, 0, 0, 1" -> "1.001": the part before the first comma, a point, then the rest, with
// every comma and blank removed.
std::string FormatVersionString(const std::string& strVersion);

// The tooltip text: product name, a line feed, "Version " and the short version.
std::string GetProductVersionText();
std::string GetProductVersionText(const CVersionInfo& info);

} // namespace tarnwick
