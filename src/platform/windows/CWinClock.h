#pragma once

#include "platform/IClock.h"

// The local wall-clock time of Windows.
class CWinClock : public IClock {
public:
    SLocalTime GetLocalTime() override;
};
