// The file shield's alert, placed and shown as the memory shield's: a small
// topmost window above the notification area that takes no focus when it
// appears; its close box closes it without an answer.
#pragma once

#include "ui/forms/FrmFileThreatAlert.h"
#include "ui/win32/FormWindow.h"

namespace bastion::win32 {

class FrmFileThreatAlertWindow final : public FormWindow {
public:
    FrmFileThreatAlertWindow(ui::FrmFileThreatAlert& form, const Window& mainWindow);
    ~FrmFileThreatAlertWindow() override { Destroy(); }

    bool Create();

protected:
    void CreateControls() override;
    void Layout(const ui::Rect& client) override;
    void AfterSync() override;

private:
    ui::FrmFileThreatAlert& alert_;
    const Window& mainWindow_;
    bool placed_ = false;
};

}  // namespace bastion::win32
