#include "ui/layout/SlidePlacement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace bastion::ui {

namespace {

constexpr int kMarginTwips = 100;

// A step keeps its length in twips: at 96 dpi 20 twips are 1.33 pixels,
// not a rounded 1.
int StepsFor(int distance, int stepTwips, int dpi) {
    const double step = std::max(1, stepTwips) * static_cast<double>(dpi) / kTwipsPerInch;
    return std::max(1, static_cast<int>(std::ceil(distance / step)));
}

// Linear from a to b over steps, exact at both ends.
int Between(int a, int b, int step, int steps) {
    step = std::clamp(step, 0, steps);
    return a + static_cast<int>((static_cast<long long>(b - a) * step) / steps);
}

Point Between(Point a, Point b, int step, int steps) {
    return {Between(a.x, b.x, step, steps), Between(a.y, b.y, step, steps)};
}

// What a window may cover: the work area less the taskbar. A taskbar that
// hides itself leaves the work area whole but covers its edge whenever the
// mouse brings it up, so the window keeps clear of its thickness.
Rect VisibleArea(const SlideArea& area) {
    Rect visible = area.work;
    const Rect& bar = area.taskbar;
    if (bar.Empty()) return visible;
    switch (area.edge) {
        case TaskbarEdge::Bottom:
            if (bar.Height() < area.monitor.Height() / 2)
                visible.bottom = std::min(visible.bottom, area.monitor.bottom - bar.Height());
            break;
        case TaskbarEdge::Top:
            if (bar.Height() < area.monitor.Height() / 2)
                visible.top = std::max(visible.top, area.monitor.top + bar.Height());
            break;
        case TaskbarEdge::Left:
            if (bar.Width() < area.monitor.Width() / 2)
                visible.left = std::max(visible.left, area.monitor.left + bar.Width());
            break;
        case TaskbarEdge::Right:
            if (bar.Width() < area.monitor.Width() / 2)
                visible.right = std::min(visible.right, area.monitor.right - bar.Width());
            break;
    }
    return visible.Empty() ? area.work : visible;
}

}  // namespace

SlideArea BottomTaskbarArea(const Rect& workArea) { return {workArea, workArea, {}, TaskbarEdge::Bottom}; }

SlidePlan PlanSlide(const SlideArea& area, int width, int height, int dpi, SlideSpeed speed) {
    const int margin = TwipsToPixels(kMarginTwips, dpi);
    const Rect visible = VisibleArea(area);
    // The notification area sits at the right end of a horizontal taskbar
    // and at the bottom of a vertical one.
    const int right = std::max(visible.left, visible.right - width - margin);
    const int bottom = std::max(visible.top, visible.bottom - height - margin);
    SlidePlan plan;
    switch (area.edge) {
        case TaskbarEdge::Bottom:
            plan.rest = {right, bottom};
            plan.start = {right, visible.bottom};
            break;
        case TaskbarEdge::Top:
            plan.rest = {right, std::min(visible.top + margin, bottom)};
            plan.start = {right, visible.top - height};
            break;
        case TaskbarEdge::Left:
            plan.rest = {std::min(visible.left + margin, right), bottom};
            plan.start = {visible.left - width, bottom};
            break;
        case TaskbarEdge::Right:
            plan.rest = {right, bottom};
            plan.start = {visible.right, bottom};
            break;
    }
    const int distance = std::abs(plan.start.x - plan.rest.x) + std::abs(plan.start.y - plan.rest.y);
    plan.riseSteps = StepsFor(distance, speed.riseTwips, dpi);
    plan.sinkSteps = StepsFor(distance, speed.sinkTwips, dpi);
    return plan;
}

Point RisePosition(const SlidePlan& plan, int step) { return Between(plan.start, plan.rest, step, plan.riseSteps); }

Point SinkPosition(const SlidePlan& plan, int step) { return Between(plan.rest, plan.start, step, plan.sinkSteps); }

}  // namespace bastion::ui
