// Where a small window that slides up out of the bottom of the screen
// starts, rests and ends: the definitions-updated pop-up and the tray
// menu. All in pixels, from the work area of the monitor the program's
// main window is on, so that the window lands in the right corner at any
// DPI and with the taskbar on any side. Each slide is planned as a number
// of steps whose last one lands exactly on its end.
#pragma once

#include "ui/layout/Geometry.h"

namespace bastion::ui {

struct SlidePlan {
    int left = 0;
    // Just below the work area (behind a taskbar at the bottom).
    int startTop = 0;
    // Resting: the window's bottom a small margin above the work area's.
    int targetTop = 0;
    int riseSteps = 1;
    // Back down to the start, out of view.
    int sinkSteps = 1;
};

// A window of width x height pixels in the bottom-right corner of the work
// area; it rises by about 20 twips and sinks by about 40 twips a step.
SlidePlan PlanSlide(const Rect& workArea, int width, int height, int dpi);

// The window's top after step of the rise (0 = start) and of the sink
// (0 = resting); past the last step they stay at its end.
int RiseTop(const SlidePlan& plan, int step);
int SinkTop(const SlidePlan& plan, int step);

}  // namespace bastion::ui
