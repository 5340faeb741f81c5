#include "ui/win32/FrmReportWindow.h"

#include "ui/win32/ButtonControls.h"
#include "ui/win32/InputControls.h"
#include "ui/win32/ModalLoop.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

bool FrmReportWindow::Create(HWND owner) {
    FormWindowOptions options;
    options.className = L"BastionReportViewer";
    options.width = 640;
    options.height = 480;
    options.minWidth = 360;
    options.minHeight = 240;
    options.owner = owner;
    return FormWindow::Create(options);
}

void FrmReportWindow::CreateControls() {
    Add<TextBoxControl>(Hwnd(), theme::kContent, report_.txtReport);
    Add<CommandButtonControl>(Hwnd(), theme::kContent, report_.cmdOk, ButtonLook::Primary);
}

void FrmReportWindow::Layout(const ui::Rect& client) {
    const int dpi = Dpi();
    ui::Rect area = ui::Inset(client, ui::Scale(12, dpi));
    ui::Rect buttons = ui::TakeBottom(area, ui::Scale(30, dpi), ui::Scale(12, dpi));
    Place(report_.cmdOk, ui::TakeRight(buttons, ui::Scale(96, dpi)));
    Place(report_.txtReport, area);
}

void ShowFrmReportModal(ui::FrmReport& form, HWND owner) {
    FrmReportWindow window(form);
    RunModal(window, owner, [&] { return window.Create(owner); });
}

}  // namespace bastion::win32
