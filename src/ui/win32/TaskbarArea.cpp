#include "ui/win32/TaskbarArea.h"

#include <shellapi.h>

#include "ui/win32/Dpi.h"

namespace bastion::win32 {

namespace {

ui::Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

ui::TaskbarEdge EdgeOf(UINT edge) {
    switch (edge) {
        case ABE_LEFT:
            return ui::TaskbarEdge::Left;
        case ABE_TOP:
            return ui::TaskbarEdge::Top;
        case ABE_RIGHT:
            return ui::TaskbarEdge::Right;
        default:
            return ui::TaskbarEdge::Bottom;
    }
}

}  // namespace

ui::SlideArea SlideAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    HMONITOR handle = ::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    if (!handle || !::GetMonitorInfoW(handle, &monitor)) {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
        monitor.rcMonitor = monitor.rcWork;
    }
    ui::SlideArea area{ToRect(monitor.rcMonitor), ToRect(monitor.rcWork), {}, ui::TaskbarEdge::Bottom};

    APPBARDATA bar{};
    bar.cbSize = sizeof(bar);
    RECT onMonitor;
    if (::SHAppBarMessage(ABM_GETTASKBARPOS, &bar) &&
        ::IntersectRect(&onMonitor, &bar.rc, &monitor.rcMonitor)) {
        area.taskbar = ToRect(bar.rc);
        area.edge = EdgeOf(bar.uEdge);
    } else {
        // No taskbar on this monitor (or no shell): the side the work area
        // leaves free, if any, else the bottom.
        const RECT& m = monitor.rcMonitor;
        const RECT& w = monitor.rcWork;
        if (w.top > m.top) area.edge = ui::TaskbarEdge::Top;
        else if (w.left > m.left) area.edge = ui::TaskbarEdge::Left;
        else if (w.right < m.right) area.edge = ui::TaskbarEdge::Right;
    }
    return area;
}

ui::SlidePlan PlanSlideNear(HWND nearWindow, int width, int height, ui::SlideSpeed speed) {
    return ui::PlanSlide(SlideAreaOf(nearWindow), width, height, WindowDpi(nearWindow), speed);
}

void RestNearNotificationArea(HWND window, HWND nearWindow) {
    RECT frame;
    ::GetWindowRect(window, &frame);
    const ui::SlidePlan plan = PlanSlideNear(nearWindow, frame.right - frame.left, frame.bottom - frame.top);
    ::SetWindowPos(window, HWND_TOPMOST, plan.rest.x, plan.rest.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace bastion::win32
