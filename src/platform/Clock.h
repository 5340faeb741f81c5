// The local date and time, so that the scheduler and its tests can move time.
#pragma once

#include "common/DateTime.h"

namespace bastion::platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime Now() = 0;
};

}  // namespace bastion::platform
