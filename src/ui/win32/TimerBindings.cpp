#include "ui/win32/TimerBindings.h"

#include <algorithm>

namespace bastion::win32 {

namespace {
// The one window timer of a form window.
constexpr UINT_PTR kTimerId = 1;
}  // namespace

void TimerBindings::Sync(HWND window) {
    if (!window) return;
    const std::uint64_t now = ::GetTickCount64();
    clock_.Follow(now);
    Schedule(window, now);
}

void TimerBindings::Schedule(HWND window, std::uint64_t now) {
    const std::optional<std::uint64_t> wait = clock_.UntilNextDue(now);
    if (!wait) {
        if (wakeAt_ != 0) ::KillTimer(window, kTimerId);
        wakeAt_ = 0;
        return;
    }
    const std::uint64_t wakeAt = now + *wait;
    // Set again only when a timer is due sooner than the window wakes: a
    // window timer set again at every sync (a sync follows every message)
    // would never go off. One that goes off early finds nothing due and is
    // set again.
    if (wakeAt_ != 0 && wakeAt_ <= wakeAt) return;
    const UINT delay = static_cast<UINT>(std::max<std::uint64_t>(*wait, USER_TIMER_MINIMUM));
    if (::SetTimer(window, kTimerId, delay, nullptr)) wakeAt_ = wakeAt;
}

bool TimerBindings::OnTimer(HWND window, UINT_PTR id) {
    if (id != kTimerId) return false;
    // Set again below for the next one due.
    wakeAt_ = 0;
    ::KillTimer(window, kTimerId);
    clock_.Run(::GetTickCount64());
    Sync(window);
    return true;
}

void TimerBindings::StopAll(HWND window) {
    if (wakeAt_ != 0 && window) ::KillTimer(window, kTimerId);
    wakeAt_ = 0;
}

}  // namespace bastion::win32
