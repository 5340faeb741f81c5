#include "ui/win32/FrmSignatureUpdatedWindow.h"

#include "ui/win32/ButtonControls.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/StaticControls.h"
#include "ui/win32/TaskbarArea.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

namespace {
constexpr int kWidth = 320;
constexpr int kHeight = 110;
}  // namespace

FrmSignatureUpdatedWindow::FrmSignatureUpdatedWindow(ui::FrmSignatureUpdated& form, const Window& mainWindow)
    : FormWindow(form), popup_(form), mainWindow_(mainWindow) {
    popup_.planSlide = [this] { return Plan(); };
    onClose = [this] { popup_.cmdUpdateSuccesfullOK_Click(); };
}

bool FrmSignatureUpdatedWindow::Create() {
    FormWindowOptions options;
    options.className = L"BastionSignatureUpdated";
    options.width = kWidth;
    options.height = kHeight;
    options.minWidth = kWidth;
    options.minHeight = kHeight;
    options.style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
    options.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
    options.showWithoutActivating = true;
    return FormWindow::Create(options);
}

ui::SlidePlan FrmSignatureUpdatedWindow::Plan() {
    const int dpi = WindowDpi(mainWindow_.Hwnd());
    width_ = ui::Scale(kWidth, dpi);
    height_ = ui::Scale(kHeight, dpi);
    const ui::SlidePlan plan = PlanSlideNear(mainWindow_.Hwnd(), width_, height_);
    // Out of view before it shows, so it never flashes where it was.
    ::SetWindowPos(Hwnd(), HWND_TOPMOST, plan.start.x, plan.start.y, width_, height_, SWP_NOACTIVATE);
    return plan;
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

void FrmSignatureUpdatedWindow::PaintBackground(HDC dc, const RECT& client) {
    ::FillRect(dc, &client, Brush(theme::kNav));
}

void FrmSignatureUpdatedWindow::AfterSync() {
    if (popup_.PositionChanges() == placed_ || width_ == 0) return;
    placed_ = popup_.PositionChanges();
    ::SetWindowPos(Hwnd(), HWND_TOPMOST, popup_.Left(), popup_.Top(), width_, height_, SWP_NOACTIVATE);
}

}  // namespace bastion::win32
