#include "ui/win32/CornerAlertWindow.h"

#include "ui/win32/TaskbarArea.h"

namespace bastion::win32 {

bool CornerAlertWindow::CreateInCorner(const wchar_t* className, int width, int height) {
    FormWindowOptions options;
    options.className = className;
    options.width = width;
    options.height = height;
    options.minWidth = width;
    options.minHeight = height;
    options.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    options.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
    options.showWithoutActivating = true;
    return FormWindow::Create(options);
}

void CornerAlertWindow::AfterSync() {
    // Placed each time it opens: the taskbar or the main window may have
    // moved since.
    if (Form().Visible() && !placed_) RestNearNotificationArea(Hwnd(), mainWindow_.Hwnd());
    placed_ = Form().Visible();
}

}  // namespace bastion::win32
