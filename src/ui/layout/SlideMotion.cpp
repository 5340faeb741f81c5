#include "ui/layout/SlideMotion.h"

namespace bastion::ui {

void SlideMotion::MoveTo(Point place) {
    place_ = place;
    ++changes_;
}

void SlideMotion::Begin(const SlidePlan& plan) {
    plan_ = plan;
    phase_ = Phase::Rising;
    step_ = 0;
    MoveTo(plan_.start);
}

bool SlideMotion::Rise() {
    if (phase_ != Phase::Rising || step_ >= plan_.riseSteps) {
        phase_ = Phase::Resting;
        return false;
    }
    MoveTo(RisePosition(plan_, ++step_));
    return true;
}

void SlideMotion::BeginSink() {
    const int risen = phase_ == Phase::Rising ? step_ * plan_.sinkSteps / plan_.riseSteps : plan_.sinkSteps;
    step_ = plan_.sinkSteps - risen;
    phase_ = Phase::Sinking;
}

void SlideMotion::BeginRise() {
    if (phase_ != Phase::Sinking) return;
    step_ = plan_.riseSteps - step_ * plan_.riseSteps / plan_.sinkSteps;
    phase_ = Phase::Rising;
}

bool SlideMotion::Sink() {
    if (phase_ != Phase::Sinking) BeginSink();
    MoveTo(SinkPosition(plan_, ++step_));
    return step_ < plan_.sinkSteps;
}

}  // namespace bastion::ui
