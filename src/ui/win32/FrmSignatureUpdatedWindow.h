// The definitions-updated pop-up: a small topmost window without a caption
// that slides out of the taskbar beside the notification area of the monitor
// the main window is on, taking no focus.
#pragma once

#include <cstdint>

#include "ui/forms/FrmSignatureUpdated.h"
#include "ui/win32/FormWindow.h"

namespace bastion::win32 {

class FrmSignatureUpdatedWindow final : public FormWindow {
public:
    // Places itself by the monitor of mainWindow.
    FrmSignatureUpdatedWindow(ui::FrmSignatureUpdated& form, const Window& mainWindow);
    ~FrmSignatureUpdatedWindow() override { Destroy(); }

    bool Create();

protected:
    void CreateControls() override;
    void Layout(const ui::Rect& client) override;
    void PaintBackground(HDC dc, const RECT& client) override;
    void AfterSync() override;

private:
    ui::SlidePlan Plan();

    ui::FrmSignatureUpdated& popup_;
    const Window& mainWindow_;
    int width_ = 0;
    int height_ = 0;
    std::uint64_t placed_ = 0;
};

}  // namespace bastion::win32
