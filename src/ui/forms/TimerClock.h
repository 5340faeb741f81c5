// The timers of a form run against a clock of milliseconds: when each one is
// due and ticking the due ones. The native side asks it how long to sleep
// and calls Run when that time has come; tests move the clock themselves.
//
// A timer's period starts when it is switched on (or given a new interval)
// and again at each of its ticks. While a timer is held, its period runs on
// without ticks; a tick that came due meanwhile comes once when the hold
// ends, and the period then counts from that tick. So holding the timers
// off around some work never puts a timer back to the start of its period.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"

namespace bastion::ui {

class TimerClock {
public:
    explicit TimerClock(const Form& form);
    TimerClock(const TimerClock&) = delete;
    TimerClock& operator=(const TimerClock&) = delete;

    // Follows what the models say now: a timer switched on, or given a new
    // interval, starts its period at now; one switched off is forgotten.
    void Follow(std::uint64_t now);
    // Ticks every running timer that is due at now, once each, in the
    // form's order. A tick that lets events run may come back here; the
    // timer that is ticking is not entered again.
    void Run(std::uint64_t now);
    // Milliseconds from now until a running timer is due (0: one is due
    // now); nullopt while none runs.
    std::optional<std::uint64_t> UntilNextDue(std::uint64_t now) const;

private:
    struct Entry {
        Timer* timer;
        std::uint64_t starts = 0;
        bool enabled = false;
        std::uint64_t due = 0;
        bool ticking = false;
    };

    std::vector<Entry> entries_;
};

}  // namespace bastion::ui
