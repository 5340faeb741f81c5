#include "ui/win32/FrmHomePageChangedAlertWindow.h"

#include "ui/win32/ButtonControls.h"
#include "ui/win32/StaticControls.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

namespace {
constexpr int kWidth = 480;
constexpr int kHeight = 290;
}  // namespace

FrmHomePageChangedAlertWindow::FrmHomePageChangedAlertWindow(ui::FrmHomePageChangedAlert& form)
    : FormWindow(form), alert_(form) {
    onClose = [this] { alert_.Dismiss(); };
}

bool FrmHomePageChangedAlertWindow::Create() {
    FormWindowOptions options;
    options.className = L"BastionHomePageChangedAlert";
    options.width = kWidth;
    options.height = kHeight;
    options.minWidth = kWidth;
    options.minHeight = kHeight;
    options.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    options.exStyle = WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    options.centered = true;
    return FormWindow::Create(options);
}

void FrmHomePageChangedAlertWindow::CreateControls() {
    const COLORREF page = theme::kContent;
    Add<LabelControl>(Hwnd(), page, alert_.lblFrmHomePageProductName, LabelOptions{LabelLook::Counter, false, false});
    Add<LabelControl>(Hwnd(), page, alert_.lblHomePageInfo, LabelOptions{LabelLook::Text, true, false});
    Add<CommandButtonControl>(Hwnd(), page, alert_.cmdYes, ButtonLook::Primary);
    Add<CommandButtonControl>(Hwnd(), page, alert_.cmdNO, ButtonLook::Secondary);
}

void FrmHomePageChangedAlertWindow::Layout(const ui::Rect& client) {
    const int dpi = Dpi();
    auto s = [dpi](int units) { return ui::Scale(units, dpi); };
    ui::Rect area = ui::Inset(client, s(18));
    ui::Rect buttons = ui::TakeBottom(area, s(30), s(12));
    Place(alert_.cmdNO, ui::TakeRight(buttons, s(96), s(8)));
    Place(alert_.cmdYes, ui::TakeRight(buttons, s(96)));
    Place(alert_.lblFrmHomePageProductName, ui::TakeTop(area, s(30), s(8)));
    Place(alert_.lblHomePageInfo, area);
}

}  // namespace bastion::win32
