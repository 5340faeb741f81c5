#include "ui/win32/FrmMenuPopUpWindow.h"

#include "ui/win32/ButtonControls.h"
#include "ui/win32/StaticControls.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

// The menu moves 80 twips a step up and 100 down.
FrmMenuPopUpWindow::FrmMenuPopUpWindow(ui::FrmMenuPopUp& form, const Window& mainWindow)
    : SlideWindow(form, form.Motion(), mainWindow, 220, 158, {80, 100}), menu_(form) {
    menu_.planSlide = [this] { return Plan(); };
    onClose = [this] { menu_.Form_Unload(); };
    menu_.takeFocus = [this] {
        const ui::Control& first = menu_.mnuMaxmimaize.Enabled() ? menu_.mnuMaxmimaize : menu_.mnuClose;
        NativeControl* button = NativeOf(first);
        // Shown now, not at the next push, so that it can take the focus.
        ::ShowWindow(Hwnd(), SW_SHOW);
        ::SetForegroundWindow(Hwnd());
        if (button) ::SetFocus(button->Hwnd());
    };
}

void FrmMenuPopUpWindow::CreateControls() {
    const COLORREF page = theme::kNav;
    Add<LabelControl>(Hwnd(), page, menu_.lblName, LabelOptions{LabelLook::Value, false, false});
    Add<CommandButtonControl>(Hwnd(), page, menu_.mnuMaxmimaize, ButtonLook::Primary);
    Add<CommandButtonControl>(Hwnd(), page, menu_.mnuClose, ButtonLook::Secondary);
    Add<LabelControl>(Hwnd(), page, menu_.lblMenuClose, LabelOptions{LabelLook::MenuLink, false, false});
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

LRESULT FrmMenuPopUpWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The controls pass the cursor question to their parent first, so this
    // hears every movement over the window and its buttons.
    if (message == WM_SETCURSOR && HIWORD(lParam) == WM_MOUSEMOVE) menu_.Form_MouseMove();
    return SlideWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace bastion::win32
