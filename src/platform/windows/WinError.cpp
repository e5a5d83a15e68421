#include "platform/windows/Win32.h"

#include "platform/windows/WinError.h"

namespace tarnwick {

std::string Win32ErrorText(unsigned long dwError) {
    char szText[512] = {};
    const DWORD nLen = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, dwError, 0, szText, sizeof szText, nullptr);
    std::string strText(szText, nLen);
    while (!strText.empty() && (strText.back() == '\n' || strText.back() == '\r' ||
                                strText.back() == ' ' || strText.back() == '.'))
        strText.pop_back();
    if (strText.empty())
        strText = "error";
    return strText + " (" + std::to_string(dwError) + ")";
}

} // namespace tarnwick
