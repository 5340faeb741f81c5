// A clock that stands still until the test moves it.
#pragma once

#include "common/DateTime.h"
#include "platform/Clock.h"

namespace bastion::testing {

class FakeClock : public platform::Clock {
public:
    DateTime Now() override { return now; }
    DateTime UniversalNow() override { return AddSeconds(now, -utcOffsetSeconds); }
    // Moves on by millisecondsEachRead after it is read: work that reads the
    // clock as it goes seems to take that long a step.
    std::uint64_t Milliseconds() override {
        const std::uint64_t read = milliseconds;
        milliseconds += millisecondsEachRead;
        return read;
    }

    void Set(const DateTime& value) { now = value; }
    // Real time passes: the local clock follows.
    void Advance(long long seconds) {
        now = AddSeconds(now, seconds);
        // The tick count only goes on.
        if (seconds > 0) milliseconds += static_cast<std::uint64_t>(seconds) * 1000;
    }
    // Daylight-saving time begins or ends: the local clock jumps by the
    // change of the offset, universal time does not move.
    void ChangeOffset(long long seconds) {
        utcOffsetSeconds += seconds;
        now = AddSeconds(now, seconds);
    }

    // Thursday, 16 March 2006, noon.
    DateTime now{2006, 3, 16, 12, 0, 0};
    // Local time minus universal time.
    long long utcOffsetSeconds = 0;
    std::uint64_t milliseconds = 0;
    std::uint64_t millisecondsEachRead = 0;
};

}  // namespace bastion::testing
