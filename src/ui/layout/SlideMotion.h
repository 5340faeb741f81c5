// A window sliding along its plan: out of the taskbar to its resting
// place, and back, one step per timer tick. A slide turned round half-way
// goes back from where it got to.
#pragma once

#include <cstdint>

#include "ui/layout/SlidePlacement.h"

namespace bastion::ui {

class SlideMotion {
public:
    // At the start of the plan, about to rise.
    void Begin(const SlidePlan& plan);
    // One step up; false (and nothing moves) once it rests.
    bool Rise();
    // Turns to sinking from where the rise got to, or from the rest.
    void BeginSink();
    // Turns a sink round: it rises again from where it got to.
    void BeginRise();
    // One step down; false once this step reached the start.
    bool Sink();

    const SlidePlan& Plan() const { return plan_; }
    Point Position() const { return place_; }
    // Grows with every move, for the native window to follow.
    std::uint64_t Changes() const { return changes_; }

private:
    enum class Phase { Rising, Resting, Sinking };
    void MoveTo(Point place);

    SlidePlan plan_;
    Phase phase_ = Phase::Resting;
    int step_ = 0;
    Point place_;
    std::uint64_t changes_ = 0;
};

}  // namespace bastion::ui
