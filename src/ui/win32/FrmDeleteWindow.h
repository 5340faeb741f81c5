// The "Delete Failed" window: the advice above and below the list of what
// could not be removed, and its three buttons; shown modally over the main
// window after a removal.
#pragma once

#include "ui/forms/FrmDelete.h"
#include "ui/win32/FormWindow.h"

namespace bastion::win32 {

class FrmDeleteWindow final : public FormWindow {
public:
    explicit FrmDeleteWindow(ui::FrmDelete& form) : FormWindow(form), delete_(form) {}
    ~FrmDeleteWindow() override { Destroy(); }

    bool Create(HWND owner);

protected:
    void CreateControls() override;
    void Layout(const ui::Rect& client) override;

private:
    ui::FrmDelete& delete_;
};

// Creates the window over owner and returns when the user closed it.
void ShowFrmDeleteModal(ui::FrmDelete& form, HWND owner);

}  // namespace bastion::win32
