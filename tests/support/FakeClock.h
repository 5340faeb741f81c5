// A clock that stands still until the test moves it.
#pragma once

#include "common/DateTime.h"
#include "platform/Clock.h"

namespace bastion::testing {

class FakeClock : public platform::Clock {
public:
    DateTime Now() override { return now; }

    void Set(const DateTime& value) { now = value; }
    void Advance(long long seconds) { now = AddSeconds(now, seconds); }

    // Thursday, 16 March 2006, noon.
    DateTime now{2006, 3, 16, 12, 0, 0};
};

}  // namespace bastion::testing
