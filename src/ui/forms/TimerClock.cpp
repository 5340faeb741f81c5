#include "ui/forms/TimerClock.h"

namespace bastion::ui {

TimerClock::TimerClock(const Form& form) {
    for (Control* control : form.Controls()) {
        if (auto* timer = dynamic_cast<Timer*>(control)) entries_.push_back({timer});
    }
}

void TimerClock::Follow(std::uint64_t now) {
    for (Entry& entry : entries_) {
        const bool enabled = entry.timer->Enabled() && entry.timer->Interval() > 0;
        if (enabled && (!entry.enabled || entry.starts != entry.timer->Starts())) {
            entry.due = now + entry.timer->Interval();
        }
        entry.enabled = enabled;
        entry.starts = entry.timer->Starts();
    }
}

void TimerClock::Run(std::uint64_t now) {
    Follow(now);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        Entry& entry = entries_[i];
        if (!entry.enabled || entry.ticking || entry.timer->Held() || now < entry.due) continue;
        // The next period counts from this tick, whatever the tick does.
        entry.due = now + entry.timer->Interval();
        entry.ticking = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{entries_[i].ticking};
        entry.timer->Tick();
        // The tick may have switched its own or other timers.
        Follow(now);
    }
}

std::optional<std::uint64_t> TimerClock::UntilNextDue(std::uint64_t now) const {
    std::optional<std::uint64_t> soonest;
    for (const Entry& entry : entries_) {
        if (!entry.enabled || entry.ticking || entry.timer->Held()) continue;
        const std::uint64_t wait = entry.due > now ? entry.due - now : 0;
        if (!soonest || wait < *soonest) soonest = wait;
    }
    return soonest;
}

}  // namespace bastion::ui
