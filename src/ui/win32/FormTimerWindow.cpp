#include "ui/win32/FormTimerWindow.h"

namespace bastion::win32 {

FormTimerWindow::~FormTimerWindow() {
    timers_.StopAll(Hwnd());
    Destroy();
}

bool FormTimerWindow::Create() {
    return CreateBound({L"BastionFormTimers"}, 0, 0, HWND_MESSAGE, L"", 0, 0, 0, 0);
}

LRESULT FormTimerWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        const bool ours = timers_.OnTimer(Hwnd(), wParam);
        // The tick may have switched its timer off.
        Sync();
        return ours ? 0 : Default(message, wParam, lParam);
    }
    return Default(message, wParam, lParam);
}

}  // namespace bastion::win32
