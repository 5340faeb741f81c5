#include "ui/win32/Dpi.h"

#include "platform/win32/Handles.h"
#include "ui/layout/Geometry.h"

namespace bastion::win32 {

namespace {
int ScreenDpi() {
    HDC screen = ::GetDC(nullptr);
    if (!screen) return ui::kBaseDpi;
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : ui::kBaseDpi;
}
}  // namespace

int WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    // user32 stays loaded for the life of the process, so the handle is
    // not released.
    if (HMODULE user32 = ::GetModuleHandleW(L"user32.dll")) {
        if (auto getDpi = GetProcedure<GetDpiForWindowFn>(user32, "GetDpiForWindow"); getDpi && window) {
            const UINT dpi = getDpi(window);
            if (dpi > 0) return static_cast<int>(dpi);
        }
    }
    return ScreenDpi();
}

}  // namespace bastion::win32
