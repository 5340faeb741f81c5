#include "ui/win32/SolidBackground.h"

#include <commctrl.h>

#include "ui/win32/GdiObjects.h"

namespace bastion::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 0xB1;

LRESULT CALLBACK EraseProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR colour) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            ::GetClientRect(window, &client);
            UniqueGdiObject brush(::CreateSolidBrush(static_cast<COLORREF>(colour)));
            ::FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(brush.Get()));
            return TRUE;
        }
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(window, EraseProcedure, kSubclassId);
            break;
        default:
            break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void EraseWithColour(HWND control, COLORREF colour) {
    if (control) ::SetWindowSubclass(control, EraseProcedure, kSubclassId, colour);
}

}  // namespace bastion::win32
