#include "ui/win32/FrmAboutWindow.h"

#include "ui/win32/ButtonControls.h"
#include "ui/win32/ModalLoop.h"
#include "ui/win32/StaticControls.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

namespace {
constexpr int kIconSize = 48;
constexpr int kMargin = 20;
}  // namespace

bool FrmAboutWindow::Create(HWND owner) {
    FormWindowOptions options;
    options.className = L"BastionAbout";
    options.width = 420;
    options.height = 230;
    options.minWidth = 420;
    options.minHeight = 230;
    options.owner = owner;
    options.fixedSize = true;
    return FormWindow::Create(options);
}

void FrmAboutWindow::CreateControls() {
    const COLORREF page = theme::kContent;
    Add<LabelControl>(Hwnd(), page, about_.lblProductName, LabelOptions{LabelLook::Counter, false, false});
    Add<LabelControl>(Hwnd(), page, about_.lblCompanyName, LabelOptions{LabelLook::Secondary, false, false});
    Add<LabelControl>(Hwnd(), page, about_.lblVersionCaption, LabelOptions{LabelLook::Secondary, false, false});
    Add<LabelControl>(Hwnd(), page, about_.lblVersion, LabelOptions{LabelLook::Value, false, false});
    Add<LabelControl>(Hwnd(), page, about_.lblWebsiteCaption, LabelOptions{LabelLook::Secondary, false, false});
    Add<LabelControl>(Hwnd(), page, about_.lblWebsite, LabelOptions{LabelLook::Link, false, false});
    Add<CommandButtonControl>(Hwnd(), page, about_.cmdOk, ButtonLook::Primary);
}

void FrmAboutWindow::Layout(const ui::Rect& client) {
    const int dpi = Dpi();
    auto s = [dpi](int units) { return ui::Scale(units, dpi); };
    ui::Rect area = ui::Inset(client, s(kMargin));
    ui::Rect buttons = ui::TakeBottom(area, s(30), s(12));
    Place(about_.cmdOk, ui::TakeRight(buttons, s(96)));
    ui::TakeLeft(area, s(kIconSize), s(16));
    Place(about_.lblProductName, ui::TakeTop(area, s(30), s(2)));
    Place(about_.lblCompanyName, ui::TakeTop(area, s(20), s(14)));
    for (auto [caption, value] : {std::pair<ui::Label*, ui::Label*>{&about_.lblVersionCaption, &about_.lblVersion},
                                  std::pair<ui::Label*, ui::Label*>{&about_.lblWebsiteCaption, &about_.lblWebsite}}) {
        ui::Rect row = ui::TakeTop(area, s(20), s(6));
        Place(*caption, ui::TakeLeft(row, s(70), s(8)));
        Place(*value, row);
    }
}

void FrmAboutWindow::PaintBackground(HDC dc, const RECT& client) {
    FormWindow::PaintBackground(dc, client);
    const int size = ui::Scale(kIconSize, Dpi());
    if (!icon_) {
        icon_.Reset(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), L"AAA", IMAGE_ICON, size, size, 0)));
    }
    const int margin = ui::Scale(kMargin, Dpi());
    if (icon_) ::DrawIconEx(dc, margin, margin, icon_.Get(), size, size, 0, nullptr, DI_NORMAL);
}

void ShowFrmAboutModal(ui::FrmAbout& form, HWND owner) {
    FrmAboutWindow window(form);
    RunModal(window, owner, [&] { return window.Create(owner); });
}

}  // namespace bastion::win32
