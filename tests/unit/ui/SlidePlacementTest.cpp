#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ui/layout/SlidePlacement.h"

namespace bastion::ui {
namespace {

// A 1920 x 1080 monitor right of the primary one, with its taskbar on each
// side in turn, shown (the work area gives way) or hiding itself (the work
// area is the whole monitor).
struct Case {
    TaskbarEdge edge;
    bool autoHide;
    const char* name;
};

SlideArea AreaFor(const Case& c, int dpi) {
    const Rect monitor{1920, 0, 3840, 1080};
    const int bar = Scale(40, dpi);
    Rect taskbar = monitor;
    Rect work = monitor;
    switch (c.edge) {
        case TaskbarEdge::Bottom: taskbar.top = monitor.bottom - bar; work.bottom = taskbar.top; break;
        case TaskbarEdge::Top: taskbar.bottom = monitor.top + bar; work.top = taskbar.bottom; break;
        case TaskbarEdge::Left: taskbar.right = monitor.left + bar; work.left = taskbar.right; break;
        case TaskbarEdge::Right: taskbar.left = monitor.right - bar; work.right = taskbar.left; break;
    }
    return {monitor, c.autoHide ? monitor : work, taskbar, c.edge};
}

TEST(SlidePlacement, RestsBesideTheNotificationAreaOnEveryEdgeAndEndsEachSlideExactly) {
    const Case cases[] = {
        {TaskbarEdge::Bottom, false, "bottom"}, {TaskbarEdge::Top, false, "top"},
        {TaskbarEdge::Left, false, "left"},     {TaskbarEdge::Right, false, "right"},
        {TaskbarEdge::Bottom, true, "bottom, hiding"}, {TaskbarEdge::Left, true, "left, hiding"},
    };
    for (const Case& c : cases) {
        for (int dpi : {96, 144}) {
            SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(dpi) + " dpi");
            const int width = Scale(220, dpi);
            const int height = Scale(158, dpi);
            const int margin = TwipsToPixels(100, dpi);
            const int bar = Scale(40, dpi);
            const SlidePlan plan = PlanSlide(AreaFor(c, dpi), width, height, dpi, {80, 100});

            // Resting: inside the monitor, a margin away from the taskbar and
            // from the monitor's far edges, never on the taskbar.
            const Rect rest = RectOfSize(plan.rest.x, plan.rest.y, width, height);
            const Rect free{1920 + (c.edge == TaskbarEdge::Left ? bar : 0), c.edge == TaskbarEdge::Top ? bar : 0,
                            3840 - (c.edge == TaskbarEdge::Right ? bar : 0),
                            1080 - (c.edge == TaskbarEdge::Bottom ? bar : 0)};
            EXPECT_EQ(rest.right, c.edge == TaskbarEdge::Left ? free.left + margin + width : free.right - margin);
            EXPECT_EQ(rest.bottom, c.edge == TaskbarEdge::Top ? free.top + margin + height : free.bottom - margin);

            // It starts just beyond the taskbar's edge of the free area, in
            // line with where it rests, and comes straight out of it.
            switch (c.edge) {
                case TaskbarEdge::Bottom: EXPECT_EQ(plan.start, (Point{plan.rest.x, free.bottom})); break;
                case TaskbarEdge::Top: EXPECT_EQ(plan.start, (Point{plan.rest.x, free.top - height})); break;
                case TaskbarEdge::Left: EXPECT_EQ(plan.start, (Point{free.left - width, plan.rest.y})); break;
                case TaskbarEdge::Right: EXPECT_EQ(plan.start, (Point{free.right, plan.rest.y})); break;
            }

            // The planned steps end on the spot, about 80 twips up and 100
            // down a step, and stay there.
            EXPECT_EQ(RisePosition(plan, plan.riseSteps), plan.rest);
            EXPECT_EQ(RisePosition(plan, plan.riseSteps + 7), plan.rest);
            EXPECT_EQ(SinkPosition(plan, plan.sinkSteps), plan.start);
            const double distance = std::abs(plan.start.x - plan.rest.x) + std::abs(plan.start.y - plan.rest.y);
            EXPECT_NEAR(plan.riseSteps, distance / (80.0 * dpi / 1440), 1.0);
            EXPECT_NEAR(plan.sinkSteps, distance / (100.0 * dpi / 1440), 1.0);
        }
    }
}

TEST(SlidePlacement, AWindowTallerThanTheScreenRestsAtItsTop) {
    const SlidePlan plan = PlanSlide(BottomTaskbarArea({0, 0, 800, 100}), 300, 400, 96);
    EXPECT_EQ(plan.rest.y, 0);
    EXPECT_EQ(RisePosition(plan, plan.riseSteps), plan.rest);
}

}  // namespace
}  // namespace bastion::ui
