// The form's timer models as window timers: a timer runs while its model
// is enabled with a non-zero interval, at that interval, and each elapse
// calls the model's Tick. A tick that runs long work lets events through;
// the same timer's tick is not entered again meanwhile.
#pragma once

#include <vector>

#include "platform/win32/WindowsApi.h"
#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"

namespace bastion::win32 {

class TimerBindings {
public:
    explicit TimerBindings(const ui::Form& form);

    // Starts, restarts (new interval) or stops the window timers as the
    // models now say.
    void Sync(HWND window);
    // A WM_TIMER: true when the timer is one of these.
    bool OnTimer(HWND window, UINT_PTR id);
    void StopAll(HWND window);

private:
    struct Binding {
        ui::Timer* model;
        unsigned runningInterval = 0;  // 0 while the window timer is off
        bool ticking = false;
    };

    std::vector<Binding> bindings_;
};

}  // namespace bastion::win32
