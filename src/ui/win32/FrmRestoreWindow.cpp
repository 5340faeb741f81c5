#include "ui/win32/FrmRestoreWindow.h"

#include "ui/win32/ButtonControls.h"
#include "ui/win32/ListViewControl.h"
#include "ui/win32/ModalLoop.h"
#include "ui/win32/StaticControls.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

bool FrmRestoreWindow::Create(HWND owner) {
    FormWindowOptions options;
    options.className = L"BastionRestore";
    options.width = 720;
    options.height = 420;
    options.minWidth = 460;
    options.minHeight = 280;
    options.owner = owner;
    return FormWindow::Create(options);
}

void FrmRestoreWindow::CreateControls() {
    const COLORREF page = theme::kContent;
    Add<LabelControl>(Hwnd(), page, restore_.lblInfo, LabelOptions{LabelLook::Text, true, false});
    Add<ListViewControl>(Hwnd(), page, restore_.lvwQuarantine);
    Add<CommandButtonControl>(Hwnd(), page, restore_.cmdRestore, ButtonLook::Primary);
    Add<CommandButtonControl>(Hwnd(), page, restore_.cmdClose, ButtonLook::Secondary);
}

void FrmRestoreWindow::Layout(const ui::Rect& client) {
    const int dpi = Dpi();
    auto s = [dpi](int units) { return ui::Scale(units, dpi); };
    ui::Rect area = ui::Inset(client, s(12));
    ui::Rect buttons = ui::TakeBottom(area, s(30), s(12));
    Place(restore_.cmdClose, ui::TakeRight(buttons, s(96), s(8)));
    Place(restore_.cmdRestore, ui::TakeRight(buttons, s(110), s(8)));
    Place(restore_.lblInfo, ui::TakeTop(area, s(22), s(8)));
    Place(restore_.lvwQuarantine, area);
}

void ShowFrmRestoreModal(ui::FrmRestore& form, HWND owner) {
    FrmRestoreWindow window(form);
    RunModal(window, owner, [&] { return window.Create(owner); });
}

}  // namespace bastion::win32
