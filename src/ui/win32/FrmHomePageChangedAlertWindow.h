// The home-page shield's question: a topmost window in the middle of the
// screen with the message and "Yes" and "No"; its close box closes it
// without an answer.
#pragma once

#include "ui/forms/FrmHomePageChangedAlert.h"
#include "ui/win32/FormWindow.h"

namespace bastion::win32 {

class FrmHomePageChangedAlertWindow final : public FormWindow {
public:
    explicit FrmHomePageChangedAlertWindow(ui::FrmHomePageChangedAlert& form);
    ~FrmHomePageChangedAlertWindow() override { Destroy(); }

    bool Create();

protected:
    void CreateControls() override;
    void Layout(const ui::Rect& client) override;

private:
    ui::FrmHomePageChangedAlert& alert_;
};

}  // namespace bastion::win32
