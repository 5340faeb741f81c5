// Where a small window that slides out of the taskbar starts, rests and
// ends: the definitions-updated pop-up, the tray menu and the shields'
// alerts. All in pixels, from the monitor's work area and the taskbar's
// real rectangle, so that the window lands in the corner beside the
// notification area at any DPI, with the taskbar on any side, shown or
// auto-hidden. Each slide is planned as a number of steps whose last one
// lands exactly on its end, whatever the window manager does with the
// positions in between.
#pragma once

#include "ui/layout/Geometry.h"

namespace bastion::ui {

enum class TaskbarEdge { Left, Top, Right, Bottom };

// The monitor the window appears on, as the system reports it.
struct SlideArea {
    Rect monitor;
    // The monitor less the taskbar (the whole monitor when the taskbar
    // hides itself).
    Rect work;
    // The taskbar, empty when it is not on this monitor.
    Rect taskbar;
    TaskbarEdge edge = TaskbarEdge::Bottom;
};

// How far a slide moves the window per step.
struct SlideSpeed {
    int riseTwips = 20;
    int sinkTwips = 40;
};

struct SlidePlan {
    // Out of view behind the taskbar's edge; the sink ends here too.
    Point start;
    // In the corner beside the notification area, a small margin inside
    // the visible part of the work area.
    Point rest;
    int riseSteps = 1;
    int sinkSteps = 1;
};

SlidePlan PlanSlide(const SlideArea& area, int width, int height, int dpi, SlideSpeed speed = {});
// A monitor whose taskbar lies along the bottom of the work area.
SlideArea BottomTaskbarArea(const Rect& workArea);

// The window's place after step of the rise (0 = start) and of the sink
// (0 = resting); past the last step they stay at its end.
Point RisePosition(const SlidePlan& plan, int step);
Point SinkPosition(const SlidePlan& plan, int step);

}  // namespace bastion::ui
