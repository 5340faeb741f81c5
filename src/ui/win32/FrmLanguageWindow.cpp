#include "ui/win32/FrmLanguageWindow.h"

#include "ui/win32/ButtonControls.h"
#include "ui/win32/InputControls.h"
#include "ui/win32/ModalLoop.h"
#include "ui/win32/StaticControls.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

FrmLanguageWindow::FrmLanguageWindow(ui::FrmLanguage& form) : FormWindow(form), language_(form) {
    // The close box closes the window as OK does.
    onClose = [this] { language_.SetVisible(false); };
}

bool FrmLanguageWindow::Create(HWND owner) {
    FormWindowOptions options;
    options.className = L"BastionLanguage";
    options.width = 500;
    options.height = 190;
    options.minWidth = 500;
    options.minHeight = 190;
    options.owner = owner;
    options.fixedSize = true;
    // Without an owner (the first start) it shows in the middle of the
    // screen rather than where the system puts new windows.
    options.centered = true;
    return FormWindow::Create(options);
}

void FrmLanguageWindow::CreateControls() {
    const COLORREF page = theme::kContent;
    Add<LabelControl>(Hwnd(), page, language_.lblChoose, LabelOptions{LabelLook::Text, false, false});
    Add<ComboBoxControl>(Hwnd(), page, language_.Combo1);
    Add<CommandButtonControl>(Hwnd(), page, language_.Command1, ButtonLook::Secondary);
    Add<CommandButtonControl>(Hwnd(), page, language_.Command3, ButtonLook::Secondary);
    Add<CommandButtonControl>(Hwnd(), page, language_.Command2, ButtonLook::Primary);
}

void FrmLanguageWindow::Layout(const ui::Rect& client) {
    const int dpi = Dpi();
    auto s = [dpi](int units) { return ui::Scale(units, dpi); };
    ui::Rect area = ui::Inset(client, s(16));
    ui::Rect ok = ui::TakeBottom(area, s(30), s(12));
    Place(language_.Command2, ui::TakeRight(ok, s(96)));
    Place(language_.lblChoose, ui::TakeTop(area, s(20), s(6)));
    ui::Rect list = ui::TakeTop(area, s(26), s(12));
    // A drop-down list's height includes its open list.
    list.bottom = list.top + s(200);
    Place(language_.Combo1, list);
    ui::Rect commands = ui::TakeTop(area, s(30));
    Place(language_.Command1, ui::Cell(commands, 0, 2, s(12)));
    Place(language_.Command3, ui::Cell(commands, 1, 2, s(12)));
}

void ShowFrmLanguageModal(ui::FrmLanguage& form, HWND owner) {
    FrmLanguageWindow window(form);
    RunModal(window, owner, [&] { return window.Create(owner); });
}

}  // namespace bastion::win32
