#include "ui/layout/SlidePlacement.h"

#include <algorithm>
#include <cmath>

namespace bastion::ui {

namespace {

constexpr int kMarginTwips = 100;
constexpr int kRiseTwips = 20;
constexpr int kSinkTwips = 40;

// A step keeps its length in twips: at 96 dpi 20 twips are 1.33 pixels,
// not a rounded 1.
int StepsFor(int distance, int stepTwips, int dpi) {
    const double step = stepTwips * static_cast<double>(dpi) / kTwipsPerInch;
    return std::max(1, static_cast<int>(std::ceil(distance / step)));
}

// Linear from a to b over steps, exact at both ends.
int Between(int a, int b, int step, int steps) {
    step = std::clamp(step, 0, steps);
    return a + static_cast<int>((static_cast<long long>(b - a) * step) / steps);
}

}  // namespace

SlidePlan PlanSlide(const Rect& workArea, int width, int height, int dpi) {
    const int margin = TwipsToPixels(kMarginTwips, dpi);
    SlidePlan plan;
    plan.left = std::max(workArea.left, workArea.right - width - margin);
    plan.startTop = workArea.bottom;
    plan.targetTop = std::max(workArea.top, workArea.bottom - height - margin);
    const int distance = plan.startTop - plan.targetTop;
    plan.riseSteps = StepsFor(distance, kRiseTwips, dpi);
    plan.sinkSteps = StepsFor(distance, kSinkTwips, dpi);
    return plan;
}

int RiseTop(const SlidePlan& plan, int step) { return Between(plan.startTop, plan.targetTop, step, plan.riseSteps); }

int SinkTop(const SlidePlan& plan, int step) { return Between(plan.targetTop, plan.startTop, step, plan.sinkSteps); }

}  // namespace bastion::ui
