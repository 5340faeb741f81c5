#include "ui/win32/FrmFileThreatAlertWindow.h"

#include "ui/win32/ButtonControls.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/StaticControls.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

namespace {
constexpr int kFileAlertWidth = 420;
constexpr int kFileAlertHeight = 300;
}  // namespace

FrmFileThreatAlertWindow::FrmFileThreatAlertWindow(ui::FrmFileThreatAlert& form, const Window& mainWindow)
    : CornerAlertWindow(form, mainWindow), alert_(form) {
    onClose = [this] { alert_.Dismiss(); };
}

bool FrmFileThreatAlertWindow::Create() { return CreateInCorner(L"BastionFileThreatAlert", kFileAlertWidth, kFileAlertHeight); }

void FrmFileThreatAlertWindow::CreateControls() {
    const COLORREF page = theme::kContent;
    Add<LabelControl>(Hwnd(), page, alert_.lblTitle, LabelOptions{LabelLook::Counter, false, false});
    Add<LabelControl>(Hwnd(), page, alert_.lblDetected, LabelOptions{LabelLook::Text, false, false});
    for (ui::Label* caption : {&alert_.lblThreatCaption, &alert_.lblFileCaption, &alert_.lblFolderCaption}) {
        Add<LabelControl>(Hwnd(), page, *caption, LabelOptions{LabelLook::Secondary, false, false});
    }
    Add<LabelControl>(Hwnd(), page, alert_.lblAlertThreat, LabelOptions{LabelLook::Value, false, false});
    Add<LabelControl>(Hwnd(), page, alert_.lblAlertFile, LabelOptions{LabelLook::Value, false, false});
    // A deep folder takes two lines.
    Add<LabelControl>(Hwnd(), page, alert_.lblAlertFolder, LabelOptions{LabelLook::Value, true, false});
    for (ui::Label* hint : {&alert_.lblQuarantineHint, &alert_.lblAllowHint}) {
        Add<LabelControl>(Hwnd(), page, *hint, LabelOptions{LabelLook::Secondary, false, false});
    }
    Add<CommandButtonControl>(Hwnd(), page, alert_.cmdYes, ButtonLook::Primary);
    Add<CommandButtonControl>(Hwnd(), page, alert_.cmdNO, ButtonLook::Secondary);
}

void FrmFileThreatAlertWindow::Layout(const ui::Rect& client) {
    const int dpi = Dpi();
    auto s = [dpi](int units) { return ui::Scale(units, dpi); };
    ui::Rect area = ui::Inset(client, s(16));
    ui::Rect buttons = ui::TakeBottom(area, s(30), s(10));
    Place(alert_.cmdNO, ui::TakeRight(buttons, s(110), s(8)));
    Place(alert_.cmdYes, ui::TakeRight(buttons, s(110)));
    Place(alert_.lblTitle, ui::TakeTop(area, s(30), s(2)));
    Place(alert_.lblDetected, ui::TakeTop(area, s(20), s(10)));
    const struct {
        ui::Label* caption;
        ui::Label* value;
        int height;
    } rows[] = {{&alert_.lblThreatCaption, &alert_.lblAlertThreat, 20},
                {&alert_.lblFileCaption, &alert_.lblAlertFile, 20},
                {&alert_.lblFolderCaption, &alert_.lblAlertFolder, 36}};
    for (const auto& row : rows) {
        ui::Rect line = ui::TakeTop(area, s(row.height), s(4));
        Place(*row.caption, ui::TakeLeft(line, s(80), s(6)));
        Place(*row.value, line);
    }
    Place(alert_.lblQuarantineHint, ui::TakeTop(area, s(18)));
    Place(alert_.lblAllowHint, ui::TakeTop(area, s(18)));
}

}  // namespace bastion::win32
