// The tray menu's window, sliding out of the taskbar beside the
// notification area. Any movement of the mouse over it keeps it open.
#pragma once

#include "ui/forms/FrmMenuPopUp.h"
#include "ui/win32/SlideWindow.h"

namespace bastion::win32 {

class FrmMenuPopUpWindow final : public SlideWindow {
public:
    // Places itself by the monitor of mainWindow.
    FrmMenuPopUpWindow(ui::FrmMenuPopUp& form, const Window& mainWindow);
    ~FrmMenuPopUpWindow() override { Destroy(); }

    bool Create() { return CreateSliding(L"BastionTrayMenu"); }

protected:
    void CreateControls() override;
    void Layout(const ui::Rect& client) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    ui::FrmMenuPopUp& menu_;
};

}  // namespace bastion::win32
