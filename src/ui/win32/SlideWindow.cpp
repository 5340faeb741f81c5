#include "ui/win32/SlideWindow.h"

#include "ui/win32/Dpi.h"
#include "ui/win32/TaskbarArea.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

SlideWindow::SlideWindow(ui::Form& form, const ui::SlideMotion& motion, const Window& mainWindow, int width,
                         int height, ui::SlideSpeed speed)
    : FormWindow(form), motion_(motion), mainWindow_(mainWindow), width_(width), height_(height), speed_(speed) {}

bool SlideWindow::CreateSliding(const wchar_t* className) {
    FormWindowOptions options;
    options.className = className;
    options.width = width_;
    options.height = height_;
    options.minWidth = width_;
    options.minHeight = height_;
    options.style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
    options.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
    options.showWithoutActivating = true;
    return FormWindow::Create(options);
}

ui::SlidePlan SlideWindow::Plan() {
    const int dpi = WindowDpi(mainWindow_.Hwnd());
    pixelWidth_ = ui::Scale(width_, dpi);
    pixelHeight_ = ui::Scale(height_, dpi);
    const ui::SlidePlan plan = PlanSlideNear(mainWindow_.Hwnd(), pixelWidth_, pixelHeight_, speed_);
    ::SetWindowPos(Hwnd(), HWND_TOPMOST, plan.start.x, plan.start.y, pixelWidth_, pixelHeight_, SWP_NOACTIVATE);
    return plan;
}

void SlideWindow::PaintBackground(HDC dc, const RECT& client) { ::FillRect(dc, &client, Brush(theme::kNav)); }

void SlideWindow::AfterSync() {
    if (motion_.Changes() == placed_ || pixelWidth_ == 0) return;
    placed_ = motion_.Changes();
    const ui::Point at = motion_.Position();
    ::SetWindowPos(Hwnd(), HWND_TOPMOST, at.x, at.y, pixelWidth_, pixelHeight_, SWP_NOACTIVATE);
}

}  // namespace bastion::win32
