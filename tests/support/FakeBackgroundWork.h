// Background work that only counts its holders, and tells each hold and
// each letting go.
#pragma once

#include <functional>

#include "services/operations/BackgroundWork.h"

namespace bastion::testing {

class FakeBackgroundWork final : public services::BackgroundWork {
public:
    void Suspend() override {
        ++holders;
        if (changed) changed(false);
    }
    void Resume() override {
        --holders;
        if (changed) changed(true);
    }

    int holders = 0;
    // false: held off; true: let go.
    std::function<void(bool resumed)> changed;
};

}  // namespace bastion::testing
