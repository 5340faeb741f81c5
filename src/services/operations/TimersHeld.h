// The background timers switched off for as long as the object lives and on
// again when it goes, whichever way the work inside ends: a request that
// throws must not leave the shields and the scheduler stopped for good.
#pragma once

#include <functional>
#include <utility>

namespace bastion::services {

class TimersHeld {
public:
    // `enable` is the counting switch (false: off, true: on); empty, nothing
    // is switched.
    explicit TimersHeld(std::function<void(bool enable)> enable) : enable_(std::move(enable)) {
        if (enable_) enable_(false);
    }
    ~TimersHeld() {
        if (enable_) enable_(true);
    }
    TimersHeld(const TimersHeld&) = delete;
    TimersHeld& operator=(const TimersHeld&) = delete;

private:
    std::function<void(bool enable)> enable_;
};

}  // namespace bastion::services
