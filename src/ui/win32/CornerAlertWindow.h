// A shield's alert: a small topmost window in the corner above the
// notification area of the monitor the main window is on. It takes no focus
// when it appears, so that keys typed elsewhere never answer it; its close
// box closes it without an answer.
#pragma once

#include "ui/win32/FormWindow.h"

namespace bastion::win32 {

class CornerAlertWindow : public FormWindow {
protected:
    CornerAlertWindow(ui::Form& form, const Window& mainWindow) : FormWindow(form), mainWindow_(mainWindow) {}

    // Of a fixed size: the alert's text is laid out for it.
    bool CreateInCorner(const wchar_t* className, int width, int height);
    void AfterSync() override;

private:
    const Window& mainWindow_;
    bool placed_ = false;
};

}  // namespace bastion::win32
