#include "ui/win32/TabStripControl.h"

#include <algorithm>

#include "platform/win32/WideText.h"
#include "ui/win32/GdiObjects.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

namespace {
constexpr UINT_PTR kPaintSubclass = 0xB2;
}

HWND TabStripControl::CreateNative(HWND parent, int id) {
    HWND tabs = MakeChild(parent, id, WC_TABCONTROLW,
                          WS_TABSTOP | WS_CLIPSIBLINGS | TCS_BUTTONS | TCS_FLATBUTTONS | TCS_FIXEDWIDTH |
                              TCS_FOCUSNEVER);
    // The control keeps its keyboard and mouse handling; its look is the
    // program's flat one: the chosen tab in the accent colour, underlined.
    if (tabs) ::SetWindowSubclass(tabs, PaintProcedure, kPaintSubclass, reinterpret_cast<DWORD_PTR>(this));
    return tabs;
}

void TabStripControl::ApplyFonts() {
    NativeControl::ApplyFonts();
    if (!Hwnd()) return;
    const int dpi = Host().Dpi();
    ::SendMessageW(Hwnd(), TCM_SETPADDING, 0, MAKELPARAM(ui::Scale(8, dpi), ui::Scale(4, dpi)));
    FitTabs();
}

void TabStripControl::FitTabs() {
    // Tabs narrower than usual rather than a strip that scrolls, which would
    // hide the first tabs of a narrow window.
    const int dpi = Host().Dpi();
    RECT client;
    ::GetClientRect(Hwnd(), &client);
    const int count = std::max<int>(1, static_cast<int>(model_.Tabs().size()));
    const int fitting = client.right / count - ui::Scale(8, dpi);
    const int width = std::clamp(fitting, ui::Scale(60, dpi), ui::Scale(150, dpi));
    ::SendMessageW(Hwnd(), TCM_SETITEMSIZE, 0, MAKELPARAM(width, ui::Scale(34, dpi)));
}

void TabStripControl::PaintTab(HDC dc, int index, const RECT& bounds) {
    const bool selected = index == model_.Selected();
    const int dpi = Host().Dpi();
    if (selected) {
        RECT bar{bounds.left + ui::Scale(12, dpi), bounds.bottom - ui::Scale(3, dpi), bounds.right - ui::Scale(12, dpi),
                 bounds.bottom};
        ::FillRect(dc, &bar, Host().Brush(theme::kAccent));
    }
    const std::wstring text = Widen(model_.Tabs()[static_cast<std::size_t>(index)]);
    SelectedObject font(dc, Host().Fonts().Get(selected ? FontRole::Strong : FontRole::Normal));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, !model_.Enabled() ? theme::kDisabledText
                       : selected         ? theme::kAccent
                                          : theme::kSecondaryText);
    RECT area = bounds;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void TabStripControl::Paint(HDC dc) {
    RECT client;
    ::GetClientRect(Hwnd(), &client);
    ::FillRect(dc, &client, Host().Brush(Background()));
    const int count = static_cast<int>(model_.Tabs().size());
    for (int index = 0; index < count; ++index) {
        RECT bounds{};
        if (::SendMessageW(Hwnd(), TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&bounds))) {
            PaintTab(dc, index, bounds);
        }
    }
}

LRESULT CALLBACK TabStripControl::PaintProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                 DWORD_PTR self) {
    auto* control = reinterpret_cast<TabStripControl*>(self);
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(window, &paint);
            try {
                if (dc) control->Paint(dc);
            } catch (...) {
                // A tab that cannot be drawn stays blank; the window lives.
            }
            ::EndPaint(window, &paint);
            return 0;
        }
        case WM_PRINTCLIENT:
            try {
                control->Paint(reinterpret_cast<HDC>(wParam));
            } catch (...) {
            }
            return 0;
        case WM_ERASEBKGND:
            return TRUE;
        case WM_SIZE:
            control->FitTabs();
            break;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(window, PaintProcedure, kPaintSubclass);
            break;
        default:
            break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

void TabStripControl::Sync() {
    if (shownTabs_ != model_.Tabs()) {
        ::SendMessageW(Hwnd(), TCM_DELETEALLITEMS, 0, 0);
        int index = 0;
        for (const std::string& caption : model_.Tabs()) {
            std::wstring text = Widen(caption);
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            ::SendMessageW(Hwnd(), TCM_INSERTITEMW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&item));
        }
        shownTabs_ = model_.Tabs();
    }
    if (::SendMessageW(Hwnd(), TCM_GETCURSEL, 0, 0) != model_.Selected()) {
        ::SendMessageW(Hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(model_.Selected()), 0);
    }
    SyncState();
    // The mark of the chosen tab is drawn from the model.
    ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

bool TabStripControl::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.code != TCN_SELCHANGE) return false;
    model_.Select(static_cast<int>(::SendMessageW(Hwnd(), TCM_GETCURSEL, 0, 0)));
    result = 0;
    return true;
}


}  // namespace bastion::win32
