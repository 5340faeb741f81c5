#include "ui/win32/FrmSpywareFoundAlertWindow.h"

#include <tuple>

#include "ui/win32/ButtonControls.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/StaticControls.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

namespace {
constexpr int kWidth = 380;
// Room for the note on administrator rights, shown when it applies.
constexpr int kHeight = 300;
}  // namespace

FrmSpywareFoundAlertWindow::FrmSpywareFoundAlertWindow(ui::FrmSpywareFoundAlert& form, const Window& mainWindow)
    : CornerAlertWindow(form, mainWindow), alert_(form) {
    onClose = [this] { alert_.Dismiss(); };
}

bool FrmSpywareFoundAlertWindow::Create() { return CreateInCorner(L"BastionSpywareFoundAlert", kWidth, kHeight); }

void FrmSpywareFoundAlertWindow::CreateControls() {
    const COLORREF page = theme::kContent;
    Add<LabelControl>(Hwnd(), page, alert_.lblTitle, LabelOptions{LabelLook::Counter, false, false});
    Add<LabelControl>(Hwnd(), page, alert_.lblDetected, LabelOptions{LabelLook::Text, false, false});
    for (ui::Label* caption : {&alert_.lblFileNameCaption, &alert_.lblCompanyNameCaption}) {
        Add<LabelControl>(Hwnd(), page, *caption, LabelOptions{LabelLook::Secondary, false, false});
    }
    Add<LabelControl>(Hwnd(), page, alert_.lblAlertFileName, LabelOptions{LabelLook::Value, false, false});
    // "No Company name available for" and the file name take two lines.
    Add<LabelControl>(Hwnd(), page, alert_.lblAlertCompanyName, LabelOptions{LabelLook::Value, true, false});
    Add<LabelControl>(Hwnd(), page, alert_.lblNeedsAdministrator, LabelOptions{LabelLook::Value, true, false});
    for (ui::Label* hint : {&alert_.lblStopHint, &alert_.lblAllowHint}) {
        Add<LabelControl>(Hwnd(), page, *hint, LabelOptions{LabelLook::Secondary, false, false});
    }
    Add<CommandButtonControl>(Hwnd(), page, alert_.cmdYes, ButtonLook::Primary);
    Add<CommandButtonControl>(Hwnd(), page, alert_.cmdNO, ButtonLook::Secondary);
}

void FrmSpywareFoundAlertWindow::Layout(const ui::Rect& client) {
    const int dpi = Dpi();
    auto s = [dpi](int units) { return ui::Scale(units, dpi); };
    ui::Rect area = ui::Inset(client, s(16));
    ui::Rect buttons = ui::TakeBottom(area, s(30), s(10));
    Place(alert_.cmdNO, ui::TakeRight(buttons, s(96), s(8)));
    Place(alert_.cmdYes, ui::TakeRight(buttons, s(96)));
    Place(alert_.lblTitle, ui::TakeTop(area, s(30), s(2)));
    Place(alert_.lblDetected, ui::TakeTop(area, s(20), s(10)));
    for (auto [caption, value, height] :
         {std::tuple<ui::Label*, ui::Label*, int>{&alert_.lblFileNameCaption, &alert_.lblAlertFileName, 20},
          std::tuple<ui::Label*, ui::Label*, int>{&alert_.lblCompanyNameCaption, &alert_.lblAlertCompanyName, 36}}) {
        ui::Rect row = ui::TakeTop(area, s(height), s(4));
        Place(*caption, ui::TakeLeft(row, s(110), s(6)));
        Place(*value, row);
    }
    Place(alert_.lblNeedsAdministrator, ui::TakeTop(area, s(34), s(4)));
    Place(alert_.lblStopHint, ui::TakeTop(area, s(18)));
    Place(alert_.lblAllowHint, ui::TakeTop(area, s(18)));
}

}  // namespace bastion::win32
