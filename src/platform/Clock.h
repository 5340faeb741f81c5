// The date and time, so that the scheduler and its tests can move time,
// and a count of milliseconds for how long some work took.
#pragma once

#include <cstdint>

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
    // Milliseconds since a fixed moment (the system's start), which no
    // change of the date or of its clock moves.
    virtual std::uint64_t Milliseconds() = 0;
};

}  // namespace bastion::platform
