#include "ui/win32/Win32EventPump.h"

#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

void Win32EventPump::Pump() {
    if (GetTickCount64() - lastRound_ < kIntervalMs) return;
    PumpNow();
}

void Win32EventPump::PumpNow() {
    Notify();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Taken out of the queue here, it would never reach the main
            // loop; posting it again leaves the loop's exit to the loop. It
            // comes only when the queue is otherwise empty, so this round
            // ends with it.
            quitSeen_ = true;
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
        Notify();
    }
    lastRound_ = GetTickCount64();
}

void Win32EventPump::WaitForEvents() {
    if (quitSeen_) return;
    Notify();
    // Input already in the queue counts as well, so that nothing waits
    // behind a message that was peeked at but not removed.
    constexpr DWORD kLongestWaitMs = 1000;
    ::MsgWaitForMultipleObjectsEx(0, nullptr, kLongestWaitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    PumpNow();
}

void Win32EventPump::Notify() {
    if (afterDispatch_) afterDispatch_();
}

}  // namespace bastion::win32
