#include "ui/win32/HoverTracker.h"

#include <commctrl.h>

namespace bastion::win32 {

namespace {
constexpr UINT_PTR kSubclassId = 0xB0;
}

void HoverTracker::Attach(HWND control, bool handCursor) {
    Detach();
    control_ = control;
    handCursor_ = handCursor;
    if (control_) ::SetWindowSubclass(control_, Procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void HoverTracker::Detach() {
    if (control_ && ::IsWindow(control_)) ::RemoveWindowSubclass(control_, Procedure, kSubclassId);
    control_ = nullptr;
    hovering_ = false;
}

void HoverTracker::SetHovering(bool hovering) {
    if (hovering_ == hovering) return;
    hovering_ = hovering;
    try {
        if (onChange) onChange();
    } catch (...) {
        // Called from a window procedure: the look stays as it was.
    }
}

LRESULT CALLBACK HoverTracker::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) {
    auto* self = reinterpret_cast<HoverTracker*>(data);
    switch (message) {
        case WM_MOUSEMOVE:
            if (!self->hovering_) {
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
                ::TrackMouseEvent(&track);
                self->SetHovering(true);
            }
            break;
        case WM_MOUSELEAVE:
            self->SetHovering(false);
            break;
        case WM_SETCURSOR:
            if (self->handCursor_ && LOWORD(lParam) == HTCLIENT) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(window, Procedure, kSubclassId);
            self->control_ = nullptr;
            break;
        default:
            break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace bastion::win32
