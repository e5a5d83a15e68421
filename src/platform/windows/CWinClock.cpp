#include "platform/windows/Win32.h"

#include "platform/windows/CWinClock.h"

namespace tarnwick {

SLocalTime CWinClock::GetLocalTime() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return {now.wHour, now.wMinute, now.wSecond};
}

} // namespace tarnwick
