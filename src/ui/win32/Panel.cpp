#include "ui/win32/Panel.h"

#include "ui/win32/GdiObjects.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

bool IsChildMessage(UINT message) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return true;
        default:
            return false;
    }
}

bool Panel::Create(HWND parent, ChildMessageSink& sink, COLORREF background) {
    sink_ = &sink;
    background_ = background;
    WindowClass windowClass{L"BastionPanel"};
    return CreateBound(windowClass, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, parent, L"", 0,
                       0, 0, 0);
}

void Panel::SetTitle(std::wstring title, HFONT font, int left, int top) {
    if (title == title_ && font == titleFont_ && left == titleLeft_ && top == titleTop_) return;
    title_ = std::move(title);
    titleFont_ = font;
    titleLeft_ = left;
    titleTop_ = top;
    if (Hwnd()) ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

void Panel::SetRule(RECT line, COLORREF colour) {
    if (::EqualRect(&line, &rule_) && colour == ruleColour_) return;
    if (Hwnd()) ::InvalidateRect(Hwnd(), &rule_, TRUE);
    rule_ = line;
    ruleColour_ = colour;
    if (Hwnd()) ::InvalidateRect(Hwnd(), &rule_, TRUE);
}

void Panel::Paint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(Hwnd(), &paint);
    if (!dc) return;
    if (!::IsRectEmpty(&rule_)) {
        UniqueGdiObject brush(::CreateSolidBrush(ruleColour_));
        ::FillRect(dc, &rule_, static_cast<HBRUSH>(brush.Get()));
    }
    if (!title_.empty() && titleFont_) {
        SelectedObject font(dc, titleFont_);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, theme::kText);
        RECT client;
        ::GetClientRect(Hwnd(), &client);
        RECT text{titleLeft_, titleTop_, client.right - titleLeft_, client.bottom};
        ::DrawTextW(dc, title_.c_str(), static_cast<int>(title_.size()), &text,
                    DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    ::EndPaint(Hwnd(), &paint);
}

LRESULT Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsChildMessage(message) && sink_) {
        LRESULT result = 0;
        if (sink_->OnChildMessage(message, wParam, lParam, result)) return result;
    }
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            ::GetClientRect(Hwnd(), &client);
            UniqueGdiObject brush(::CreateSolidBrush(background_));
            ::FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(brush.Get()));
            return 1;
        }
        case WM_PAINT:
            Paint();
            return 0;
        default:
            return Default(message, wParam, lParam);
    }
}

}  // namespace bastion::win32
