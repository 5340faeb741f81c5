#include "ui/win32/FrmMenuPopUpWindow.h"

#include "ui/win32/ButtonControls.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/StaticControls.h"
#include "ui/win32/TaskbarArea.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

namespace {
constexpr int kWidth = 220;
constexpr int kHeight = 158;
// The menu moves 80 twips a step up and 100 down.
constexpr ui::SlideSpeed kSpeed{80, 100};
}  // namespace

FrmMenuPopUpWindow::FrmMenuPopUpWindow(ui::FrmMenuPopUp& form, const Window& mainWindow)
    : FormWindow(form), menu_(form), mainWindow_(mainWindow) {
    menu_.planSlide = [this] { return Plan(); };
    onClose = [this] { menu_.Form_Unload(); };
}

bool FrmMenuPopUpWindow::Create() {
    FormWindowOptions options;
    options.className = L"BastionTrayMenu";
    options.width = kWidth;
    options.height = kHeight;
    options.minWidth = kWidth;
    options.minHeight = kHeight;
    options.style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
    options.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
    options.showWithoutActivating = true;
    return FormWindow::Create(options);
}

ui::SlidePlan FrmMenuPopUpWindow::Plan() {
    const int dpi = WindowDpi(mainWindow_.Hwnd());
    width_ = ui::Scale(kWidth, dpi);
    height_ = ui::Scale(kHeight, dpi);
    const ui::SlidePlan plan = PlanSlideNear(mainWindow_.Hwnd(), width_, height_, kSpeed);
    // Out of view before it shows, so it never flashes where it was.
    ::SetWindowPos(Hwnd(), HWND_TOPMOST, plan.start.x, plan.start.y, width_, height_, SWP_NOACTIVATE);
    return plan;
}

void FrmMenuPopUpWindow::CreateControls() {
    const COLORREF page = theme::kNav;
    Add<LabelControl>(Hwnd(), page, menu_.lblName, LabelOptions{LabelLook::Value, false, false});
    Add<CommandButtonControl>(Hwnd(), page, menu_.mnuMaxmimaize, ButtonLook::Primary);
    Add<CommandButtonControl>(Hwnd(), page, menu_.mnuClose, ButtonLook::Secondary);
    Add<LabelControl>(Hwnd(), page, menu_.lblMenuClose, LabelOptions{LabelLook::Link, false, false});
}

void FrmMenuPopUpWindow::Layout(const ui::Rect& client) {
    const int dpi = Dpi();
    auto s = [dpi](int units) { return ui::Scale(units, dpi); };
    ui::Rect area = ui::Inset(client, s(12));
    Place(menu_.lblName, ui::TakeTop(area, s(22), s(8)));
    Place(menu_.mnuMaxmimaize, ui::TakeTop(area, s(30), s(6)));
    Place(menu_.mnuClose, ui::TakeTop(area, s(30), s(8)));
    Place(menu_.lblMenuClose, ui::TakeTop(area, s(20)));
}

void FrmMenuPopUpWindow::PaintBackground(HDC dc, const RECT& client) {
    ::FillRect(dc, &client, Brush(theme::kNav));
}

void FrmMenuPopUpWindow::AfterSync() {
    if (menu_.PositionChanges() == placed_ || width_ == 0) return;
    placed_ = menu_.PositionChanges();
    const ui::Point at = menu_.Position();
    ::SetWindowPos(Hwnd(), HWND_TOPMOST, at.x, at.y, width_, height_, SWP_NOACTIVATE);
}

LRESULT FrmMenuPopUpWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The controls pass the cursor question to their parent first, so this
    // hears every movement over the window and its buttons.
    if (message == WM_SETCURSOR && HIWORD(lParam) == WM_MOUSEMOVE) menu_.Form_MouseMove();
    return FormWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace bastion::win32
