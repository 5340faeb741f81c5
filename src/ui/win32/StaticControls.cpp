#include "ui/win32/StaticControls.h"

#include "platform/win32/WideText.h"
#include "ui/win32/GdiObjects.h"
#include "ui/win32/SolidBackground.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

// --- labels ------------------------------------------------------------------

HWND LabelControl::CreateNative(HWND parent, int id) {
    DWORD style = SS_NOTIFY | SS_NOPREFIX;
    style |= options_.alignRight ? SS_RIGHT : SS_LEFT;
    if (!options_.wrap) style |= SS_ENDELLIPSIS;
    HWND label = MakeChild(parent, id, L"STATIC", style);
    if (label && (options_.look == LabelLook::Link || options_.look == LabelLook::HeaderMark ||
                  options_.look == LabelLook::MenuLink)) {
        hover_.onChange = [this] { ApplyFonts(); };
        hover_.Attach(label, true);
    }
    return label;
}

FontRole LabelControl::Font() const {
    switch (options_.look) {
        case LabelLook::Value:
            return FontRole::Strong;
        case LabelLook::Counter:
            return FontRole::Heading;
        case LabelLook::Link:
            return hover_.Hovering() ? FontRole::Link : FontRole::Normal;
        case LabelLook::HeaderMark:
            return hover_.Hovering() ? FontRole::StrongItalic : FontRole::Strong;
        case LabelLook::MenuLink:
            return hover_.Hovering() ? FontRole::Strong : FontRole::Normal;
        default:
            return FontRole::Normal;
    }
}

void LabelControl::ApplyFonts() {
    NativeControl::ApplyFonts();
    if (Hwnd()) ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

int LabelControl::WrappedHeight(int width) const {
    const std::wstring text = Widen(model_.Caption().empty() ? std::string("X") : model_.Caption());
    const WindowDc dc(Hwnd());
    if (!dc.Get()) return 0;
    RECT needed{0, 0, width, 0};
    const SelectedObject font(dc.Get(), Host().Fonts().Get(Font()));
    ::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &needed,
                DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return needed.bottom;
}

void LabelControl::Sync() {
    SetText(model_.Caption());
    SyncState();
}

void LabelControl::OnCommand(WORD code) {
    if (code == STN_CLICKED && model_.Enabled()) model_.Click();
}

HBRUSH LabelControl::OnColor(HDC dc) {
    COLORREF colour = theme::kText;
    switch (options_.look) {
        case LabelLook::Secondary:
            colour = theme::kSecondaryText;
            break;
        case LabelLook::Link:
        case LabelLook::MenuLink:
            colour = theme::kLink;
            break;
        case LabelLook::HeaderMark:
            colour = theme::kHeaderText;
            break;
        default:
            break;
    }
    if (!model_.Enabled()) colour = theme::kDisabledText;
    ::SetTextColor(dc, colour);
    ::SetBkColor(dc, Background());
    return Host().Brush(Background());
}

// --- group boxes -------------------------------------------------------------

HWND GroupBoxControl::CreateNative(HWND parent, int id) {
    // Clipped by the controls it surrounds, once it lies beneath them.
    HWND box = MakeChild(parent, id, L"BUTTON", BS_GROUPBOX | WS_CLIPSIBLINGS);
    EraseWithColour(box, Background());
    return box;
}

void GroupBoxControl::SendToBack() {
    if (Hwnd()) ::SetWindowPos(Hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void GroupBoxControl::Sync() {
    SetText(model_.Caption());
    SyncState();
}

// --- pages -------------------------------------------------------------------

HWND PageControl::CreateNative(HWND parent, int id) {
    if (!panel_.Create(parent, sink_, colour_)) return nullptr;
    ::SetWindowLongPtrW(panel_.Hwnd(), GWLP_ID, id);
    return panel_.Hwnd();
}

void PageControl::UpdateTitle() {
    if (!showTitle_) return;
    const int dpi = Host().Dpi();
    panel_.SetTitle(Widen(model_.Caption()), Host().Fonts().Get(FontRole::Heading), ui::Scale(24, dpi),
                    ui::Scale(16, dpi));
}

void PageControl::ApplyFonts() { UpdateTitle(); }

void PageControl::Sync() {
    UpdateTitle();
    SyncState();
}

}  // namespace bastion::win32
