// The monitor a slide-up window appears on, with the taskbar's real place:
// the monitor holding the given window (the primary one while the program
// runs in the notification area), its work area, and the taskbar's
// rectangle and edge as the shell reports them.
#pragma once

#include "platform/win32/WindowsApi.h"
#include "ui/layout/SlidePlacement.h"

namespace bastion::win32 {

ui::SlideArea SlideAreaOf(HWND window);

// The plan for a window of width x height pixels beside the notification
// area of the monitor of nearWindow, at that window's dpi.
ui::SlidePlan PlanSlideNear(HWND nearWindow, int width, int height, ui::SlideSpeed speed = {});

// Puts the window, topmost and without taking the focus (keys typed
// elsewhere must never answer an alert), where a slide beside the
// notification area of nearWindow's monitor comes to rest.
void RestNearNotificationArea(HWND window, HWND nearWindow);

}  // namespace bastion::win32
