#include "ui/win32/FrmSignatureUpdatedWindow.h"

#include "ui/win32/ButtonControls.h"
#include "ui/win32/StaticControls.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

FrmSignatureUpdatedWindow::FrmSignatureUpdatedWindow(ui::FrmSignatureUpdated& form, const Window& mainWindow)
    : SlideWindow(form, form.Motion(), mainWindow, 320, 110, {20, 40}), popup_(form) {
    popup_.planSlide = [this] { return Plan(); };
    onClose = [this] { popup_.cmdUpdateSuccesfullOK_Click(); };
}

void FrmSignatureUpdatedWindow::CreateControls() {
    const COLORREF page = theme::kNav;
    Add<LabelControl>(Hwnd(), page, popup_.lblUpdateInfo, LabelOptions{LabelLook::Value, true, false});
    Add<CommandButtonControl>(Hwnd(), page, popup_.cmdUpdateSuccesfullOK, ButtonLook::Primary);
}

void FrmSignatureUpdatedWindow::Layout(const ui::Rect& client) {
    const int dpi = Dpi();
    ui::Rect area = ui::Inset(client, ui::Scale(14, dpi));
    ui::Rect buttons = ui::TakeBottom(area, ui::Scale(28, dpi), ui::Scale(8, dpi));
    Place(popup_.cmdUpdateSuccesfullOK, ui::TakeRight(buttons, ui::Scale(80, dpi)));
    Place(popup_.lblUpdateInfo, area);
}

}  // namespace bastion::win32
