#pragma once

#include "platform/IClock.h"

namespace tarnwick {

// The local time of day from the system clock and time zone.
class CLocalClock : public IClock {
public:
    SLocalTime GetLocalTime() override;
};

} // namespace tarnwick
