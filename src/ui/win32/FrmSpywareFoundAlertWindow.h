// The memory shield's alert about a program that has started.
#pragma once

#include "ui/forms/FrmSpywareFoundAlert.h"
#include "ui/win32/CornerAlertWindow.h"

namespace bastion::win32 {

class FrmSpywareFoundAlertWindow final : public CornerAlertWindow {
public:
    FrmSpywareFoundAlertWindow(ui::FrmSpywareFoundAlert& form, const Window& mainWindow);
    ~FrmSpywareFoundAlertWindow() override { Destroy(); }

    bool Create();

protected:
    void CreateControls() override;
    void Layout(const ui::Rect& client) override;

private:
    ui::FrmSpywareFoundAlert& alert_;
};

}  // namespace bastion::win32
