// The tray menu's window: a small topmost window without a caption that
// slides out of the taskbar beside the notification area, taking no focus.
// Any movement of the mouse over it keeps it open.
#pragma once

#include <cstdint>

#include "ui/forms/FrmMenuPopUp.h"
#include "ui/win32/FormWindow.h"

namespace bastion::win32 {

class FrmMenuPopUpWindow final : public FormWindow {
public:
    // Places itself by the monitor of mainWindow.
    FrmMenuPopUpWindow(ui::FrmMenuPopUp& form, const Window& mainWindow);
    ~FrmMenuPopUpWindow() override { Destroy(); }

    bool Create();

protected:
    void CreateControls() override;
    void Layout(const ui::Rect& client) override;
    void PaintBackground(HDC dc, const RECT& client) override;
    void AfterSync() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    ui::SlidePlan Plan();

    ui::FrmMenuPopUp& menu_;
    const Window& mainWindow_;
    int width_ = 0;
    int height_ = 0;
    std::uint64_t placed_ = 0;
};

}  // namespace bastion::win32
