#include "ui/win32/FrmDeleteWindow.h"

#include "ui/win32/ButtonControls.h"
#include "ui/win32/ListViewControl.h"
#include "ui/win32/ModalLoop.h"
#include "ui/win32/StaticControls.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

bool FrmDeleteWindow::Create(HWND owner) {
    FormWindowOptions options;
    options.className = L"BastionDeleteFailed";
    options.width = 560;
    options.height = 380;
    options.minWidth = 420;
    options.minHeight = 300;
    options.owner = owner;
    return FormWindow::Create(options);
}

void FrmDeleteWindow::CreateControls() {
    const COLORREF page = theme::kContent;
    Add<LabelControl>(Hwnd(), page, delete_.Label1, LabelOptions{LabelLook::Text, true, false});
    Add<ListViewControl>(Hwnd(), page, delete_.lstProblem);
    Add<LabelControl>(Hwnd(), page, delete_.Label2, LabelOptions{LabelLook::Text, true, false});
    Add<CommandButtonControl>(Hwnd(), page, delete_.Command2, ButtonLook::Secondary);
    Add<CommandButtonControl>(Hwnd(), page, delete_.cmdDeleteAtRestart, ButtonLook::Secondary);
    Add<CommandButtonControl>(Hwnd(), page, delete_.Command1, ButtonLook::Primary);
}

void FrmDeleteWindow::Layout(const ui::Rect& client) {
    const int dpi = Dpi();
    auto s = [dpi](int units) { return ui::Scale(units, dpi); };
    ui::Rect area = ui::Inset(client, s(12));
    ui::Rect buttons = ui::TakeBottom(area, s(30), s(12));
    Place(delete_.Command1, ui::TakeRight(buttons, s(96), s(8)));
    Place(delete_.Command2, ui::TakeLeft(buttons, s(110), s(8)));
    Place(delete_.cmdDeleteAtRestart, ui::TakeLeft(buttons, s(170), s(8)));
    Place(delete_.Label1, ui::TakeTop(area, s(36), s(8)));
    Place(delete_.Label2, ui::TakeBottom(area, s(36), s(8)));
    Place(delete_.lstProblem, area);
}

void ShowFrmDeleteModal(ui::FrmDelete& form, HWND owner) {
    FrmDeleteWindow window(form);
    RunModal(window, owner, [&] { return window.Create(owner); });
}

}  // namespace bastion::win32
