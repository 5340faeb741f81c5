// The form's timer models run by one window timer: the form's clock says
// how long until the next timer is due, the window timer wakes the window
// then, and the due timers tick. A tick that runs long work lets events
// through; the same timer's tick is not entered again meanwhile.
#pragma once

#include <cstdint>

#include "platform/win32/WindowsApi.h"
#include "ui/forms/Form.h"
#include "ui/forms/TimerClock.h"

namespace bastion::win32 {

class TimerBindings {
public:
    explicit TimerBindings(const ui::Form& form) : clock_(form) {}

    // Follows the models (a timer switched on starts its period now) and
    // sets the window timer for the next one due.
    void Sync(HWND window);
    // A WM_TIMER: true when it is the window timer of these timers.
    bool OnTimer(HWND window, UINT_PTR id);
    void StopAll(HWND window);

private:
    void Schedule(HWND window, std::uint64_t now);

    ui::TimerClock clock_;
    // When the window timer was set to go off; 0 while it is off.
    std::uint64_t wakeAt_ = 0;
};

}  // namespace bastion::win32
