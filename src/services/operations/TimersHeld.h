// The background work held off for as long as the object lives and let go
// when it goes, whichever way the work inside ends: a request that throws
// must not leave the shields and the scheduler stopped for good.
#pragma once

#include "services/operations/BackgroundWork.h"

namespace bastion::services {

class TimersHeld {
public:
    explicit TimersHeld(BackgroundWork& work) : work_(work) { work_.Suspend(); }
    ~TimersHeld() { work_.Resume(); }
    TimersHeld(const TimersHeld&) = delete;
    TimersHeld& operator=(const TimersHeld&) = delete;

private:
    BackgroundWork& work_;
};

}  // namespace bastion::services
