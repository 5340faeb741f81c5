// The file shield's alert about a file that has arrived.
#pragma once

#include "ui/forms/FrmFileThreatAlert.h"
#include "ui/win32/CornerAlertWindow.h"

namespace bastion::win32 {

class FrmFileThreatAlertWindow final : public CornerAlertWindow {
public:
    FrmFileThreatAlertWindow(ui::FrmFileThreatAlert& form, const Window& mainWindow);
    ~FrmFileThreatAlertWindow() override { Destroy(); }

    bool Create();

protected:
    void CreateControls() override;
    void Layout(const ui::Rect& client) override;

private:
    ui::FrmFileThreatAlert& alert_;
};

}  // namespace bastion::win32
