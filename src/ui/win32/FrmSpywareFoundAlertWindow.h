// The memory shield's alert: a small topmost window in the corner above the
// notification area of the monitor the main window is on. It takes no focus
// when it appears, so that keys typed elsewhere never answer it; its close
// box closes it without an answer.
#pragma once

#include "ui/forms/FrmSpywareFoundAlert.h"
#include "ui/win32/FormWindow.h"

namespace bastion::win32 {

class FrmSpywareFoundAlertWindow final : public FormWindow {
public:
    FrmSpywareFoundAlertWindow(ui::FrmSpywareFoundAlert& form, const Window& mainWindow);
    ~FrmSpywareFoundAlertWindow() override { Destroy(); }

    bool Create();

protected:
    void CreateControls() override;
    void Layout(const ui::Rect& client) override;
    void AfterSync() override;

private:
    ui::FrmSpywareFoundAlert& alert_;
    const Window& mainWindow_;
    bool placed_ = false;
};

}  // namespace bastion::win32
