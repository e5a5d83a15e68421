#pragma once

#include "platform/IClock.h"

namespace tarnwick {

// The local wall-clock time of Windows.
class CWinClock : public IClock {
public:
    SLocalTime GetLocalTime() override;
};

} // namespace tarnwick
