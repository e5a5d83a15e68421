#include "platform/ShutdownTime.h"

#include "platform/GetField.h"
#include "platform/TextUtil.h"

#include <algorithm>

namespace tarnwick {

bool GetShutdownDelayMs(const std::string& strTime, int nHour, int nMinute,
                        std::uint32_t& nDelayMs) {
    const int H = AtoI(GetField(strTime, 1, ':'));
    const int M = AtoI(GetField(strTime, 2, ':'));
    if (std::none_of(strTime.begin(), strTime.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    if (H < 0 || H > 23 || M < 0 || M > 59)
        return false;
    int dh = H - nHour;
    int dm = M - nMinute;
    if (dm < 0) {
        dm += 60;
        dh -= 1;
    }
    if (dh < 0)
        dh += 24;
    if (dh == 0 && dm == 0)
        dh = 24;
    nDelayMs = static_cast<std::uint32_t>(dh * 60 + dm) * 60000u;
    return true;
}

} // namespace tarnwick
