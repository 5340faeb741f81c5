// The restore window: the quarantine's items with check boxes, "Restore"
// and "Close"; shown modally over the main window.
#pragma once

#include "ui/forms/FrmRestore.h"
#include "ui/win32/FormWindow.h"

namespace bastion::win32 {

class FrmRestoreWindow final : public FormWindow {
public:
    explicit FrmRestoreWindow(ui::FrmRestore& form) : FormWindow(form), restore_(form) {}
    ~FrmRestoreWindow() override { Destroy(); }

    bool Create(HWND owner);

protected:
    void CreateControls() override;
    void Layout(const ui::Rect& client) override;

private:
    ui::FrmRestore& restore_;
};

// Creates the window over owner and returns when the user closed it.
void ShowFrmRestoreModal(ui::FrmRestore& form, HWND owner);

}  // namespace bastion::win32
