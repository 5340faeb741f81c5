#include "ui/win32/ButtonFace.h"

#include "ui/layout/Geometry.h"
#include "ui/win32/GdiObjects.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

namespace {

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
    UniqueGdiObject brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &rect, static_cast<HBRUSH>(brush.Get()));
}

void RoundedBox(HDC dc, const RECT& rect, COLORREF fill, COLORREF border, int radius) {
    UniqueGdiObject brush(::CreateSolidBrush(fill));
    UniqueGdiObject pen(::CreatePen(PS_SOLID, 1, border));
    SelectedObject selectedBrush(dc, brush.Get());
    SelectedObject selectedPen(dc, pen.Get());
    ::RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, radius, radius);
}

void Text(HDC dc, RECT rect, const std::wstring& text, HFONT font, COLORREF colour, UINT format) {
    SelectedObject selected(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colour);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace

void DrawButtonFace(HDC dc, const RECT& bounds, ButtonLook look, const ButtonState& state, const std::wstring& text,
                    COLORREF background, const UiFonts& fonts) {
    const int dpi = fonts.Dpi();
    Fill(dc, bounds, background);
    const int radius = ui::Scale(6, dpi);
    switch (look) {
        case ButtonLook::Primary: {
            COLORREF fill = !state.enabled  ? RGB(204, 204, 204)
                            : state.pressed ? theme::kAccentPressed
                            : state.hovering ? theme::kAccentHover
                                             : theme::kAccent;
            RoundedBox(dc, bounds, fill, fill, radius);
            Text(dc, bounds, text, fonts.Get(FontRole::Strong), state.enabled ? RGB(255, 255, 255) : RGB(120, 120, 120),
                 DT_CENTER);
            break;
        }
        case ButtonLook::Secondary: {
            COLORREF fill = !state.enabled  ? RGB(250, 250, 250)
                            : state.pressed ? RGB(232, 232, 232)
                            : state.hovering ? RGB(245, 246, 248)
                                             : RGB(255, 255, 255);
            COLORREF border = state.hovering && state.enabled ? RGB(160, 168, 178) : RGB(196, 200, 206);
            RoundedBox(dc, bounds, fill, border, radius);
            Text(dc, bounds, text, fonts.Get(FontRole::Normal), state.enabled ? theme::kText : theme::kDisabledText,
                 DT_CENTER);
            break;
        }
        case ButtonLook::Nav: {
            COLORREF fill = state.selected ? theme::kNavSelected
                            : (state.hovering || state.pressed) && state.enabled ? theme::kNavHover
                                                                                  : background;
            Fill(dc, bounds, fill);
            if (state.selected) {
                RECT bar{bounds.left, bounds.top + ui::Scale(6, dpi), bounds.left + ui::Scale(4, dpi),
                         bounds.bottom - ui::Scale(6, dpi)};
                Fill(dc, bar, theme::kAccent);
            }
            RECT area = bounds;
            area.left += ui::Scale(20, dpi);
            area.right -= ui::Scale(8, dpi);
            COLORREF colour = !state.enabled ? theme::kDisabledText : state.selected ? theme::kAccent : theme::kText;
            Text(dc, area, text, fonts.Get(state.selected ? FontRole::Strong : FontRole::Normal), colour,
                 DT_LEFT);
            break;
        }
        case ButtonLook::Link: {
            HFONT font = state.hovering && state.enabled ? fonts.Get(FontRole::Link) : fonts.Get(FontRole::Normal);
            Text(dc, bounds, text, font, state.enabled ? theme::kLink : theme::kDisabledText, DT_LEFT);
            break;
        }
    }
    if (state.focused && look != ButtonLook::Nav) {
        RECT focus = bounds;
        ::InflateRect(&focus, -ui::Scale(3, dpi), -ui::Scale(3, dpi));
        ::DrawFocusRect(dc, &focus);
    }
}

}  // namespace bastion::win32
