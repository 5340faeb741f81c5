#include "ui/win32/TimerBindings.h"

namespace bastion::win32 {

namespace {
// Timer ids count from here (id = first + position).
constexpr UINT_PTR kFirstTimer = 1;
}

TimerBindings::TimerBindings(const ui::Form& form) {
    for (ui::Control* control : form.Controls()) {
        if (auto* timer = dynamic_cast<ui::Timer*>(control)) bindings_.push_back({timer});
    }
}

void TimerBindings::Sync(HWND window) {
    if (!window) return;
    for (std::size_t i = 0; i < bindings_.size(); ++i) {
        Binding& binding = bindings_[i];
        const unsigned wanted = binding.model->Enabled() ? binding.model->Interval() : 0;
        if (wanted == binding.runningInterval) continue;
        const UINT_PTR id = kFirstTimer + i;
        if (wanted == 0) {
            ::KillTimer(window, id);
        } else if (!::SetTimer(window, id, wanted, nullptr)) {
            continue;  // tried again at the next sync
        }
        binding.runningInterval = wanted;
    }
}

bool TimerBindings::OnTimer(HWND window, UINT_PTR id) {
    if (id < kFirstTimer || id - kFirstTimer >= bindings_.size()) return false;
    Binding& binding = bindings_[id - kFirstTimer];
    // A timer switched off since the message was posted does not tick.
    if (!binding.model->Enabled() || binding.ticking) return true;
    binding.ticking = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{binding.ticking};
    binding.model->Tick();
    return true;
}

void TimerBindings::StopAll(HWND window) {
    for (std::size_t i = 0; i < bindings_.size(); ++i) {
        if (bindings_[i].runningInterval != 0 && window) ::KillTimer(window, kFirstTimer + i);
        bindings_[i].runningInterval = 0;
    }
}

}  // namespace bastion::win32
