#include "ui/win32/FrmDownloadWindow.h"

#include "ui/win32/ButtonControls.h"
#include "ui/win32/InputControls.h"
#include "ui/win32/StaticControls.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

FrmDownloadWindow::FrmDownloadWindow(ui::FrmDownload& form) : FormWindow(form), download_(form) {
    // The close box is "Cancel": the window closes and the update ends.
    onClose = [this] { download_.Command1.Click(); };
}

bool FrmDownloadWindow::Create(HWND owner) {
    FormWindowOptions options;
    options.className = L"BastionDownload";
    options.width = 440;
    options.height = 170;
    options.minWidth = 440;
    options.minHeight = 170;
    options.owner = owner;
    options.fixedSize = true;
    return FormWindow::Create(options);
}

void FrmDownloadWindow::CreateControls() {
    const COLORREF page = theme::kContent;
    Add<LabelControl>(Hwnd(), page, download_.picUp, LabelOptions{LabelLook::Counter, false, false});
    Add<LabelControl>(Hwnd(), page, download_.picDown, LabelOptions{LabelLook::Counter, false, false});
    Add<LabelControl>(Hwnd(), page, download_.lblProduct, LabelOptions{LabelLook::Value, false, false});
    Add<TextBoxControl>(Hwnd(), page, download_.txtStatus);
    Add<CommandButtonControl>(Hwnd(), page, download_.Command1, ButtonLook::Secondary);
}

void FrmDownloadWindow::Layout(const ui::Rect& client) {
    const int dpi = Dpi();
    auto s = [dpi](int units) { return ui::Scale(units, dpi); };
    ui::Rect area = ui::Inset(client, s(16));
    ui::Rect buttons = ui::TakeBottom(area, s(30), s(10));
    Place(download_.Command1, ui::TakeRight(buttons, s(96)));
    ui::Rect line = ui::TakeTop(area, s(32), s(10));
    const ui::Rect picture = ui::TakeLeft(line, s(32), s(10));
    Place(download_.picUp, picture);
    Place(download_.picDown, picture);
    Place(download_.lblProduct, line);
    Place(download_.txtStatus, area);
}

}  // namespace bastion::win32
