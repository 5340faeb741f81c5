// A small topmost window without a caption that slides out of the taskbar
// beside the notification area of the monitor the main window is on,
// taking no focus: the tray menu and the definitions-updated pop-up. It
// measures its plan when its model asks and follows the model's motion.
#pragma once

#include <cstdint>

#include "ui/layout/SlideMotion.h"
#include "ui/win32/FormWindow.h"

namespace bastion::win32 {

class SlideWindow : public FormWindow {
public:
    // width and height in layout units; speed: how far each step goes.
    SlideWindow(ui::Form& form, const ui::SlideMotion& motion, const Window& mainWindow, int width, int height,
                ui::SlideSpeed speed);

protected:
    bool CreateSliding(const wchar_t* className);
    // The plan for the main window's monitor now; the window waits out of
    // view at its start, so it never flashes where it was.
    ui::SlidePlan Plan();
    void PaintBackground(HDC dc, const RECT& client) override;
    void AfterSync() override;

private:
    const ui::SlideMotion& motion_;
    const Window& mainWindow_;
    const int width_;
    const int height_;
    const ui::SlideSpeed speed_;
    int pixelWidth_ = 0;
    int pixelHeight_ = 0;
    std::uint64_t placed_ = 0;
};

}  // namespace bastion::win32
