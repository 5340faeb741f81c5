// The date and time, so that the scheduler and its tests can move time.
#pragma once

#include "common/DateTime.h"

namespace bastion::platform {

class Clock {
public:
    virtual ~Clock() = default;
    // The local date and time, as the user's clock shows it.
    virtual DateTime Now() = 0;
    // The same moment in universal time, which daylight-saving changes do
    // not move: how much real time passed between two looks.
    virtual DateTime UniversalNow() = 0;
};

}  // namespace bastion::platform
