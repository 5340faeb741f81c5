// A clock that stands still until the test moves it.
#pragma once

#include "common/DateTime.h"
#include "platform/Clock.h"

namespace bastion::testing {

class FakeClock : public platform::Clock {
public:
    DateTime Now() override { return now; }
    DateTime UniversalNow() override { return AddSeconds(now, -utcOffsetSeconds); }

    void Set(const DateTime& value) { now = value; }
    // Real time passes: the local clock follows.
    void Advance(long long seconds) { now = AddSeconds(now, seconds); }
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
};

}  // namespace bastion::testing
