#include "app/AlertWait.h"

namespace bastion {

ui::AlertButton AskAndWait(ui::AlertForm& alert, services::EventPump& pump, services::OperationGate& gate,
                           platform::Clock& clock) {
    if (gate.Ending() || pump.Quitting()) return ui::AlertButton::None;
    services::OperationGate::AlertScope waiting(gate);
    // Universal time, which daylight-saving changes do not move; a clock
    // put back starts the wait afresh rather than making it last.
    DateTime opened = clock.UniversalNow();
    alert.Open();
    while (alert.Waiting() && !gate.Ending() && !pump.Quitting()) {
        const DateTime now = clock.UniversalNow();
        const long long waited = SecondsBetween(opened, now);
        if (waited < 0) opened = now;
        if (waited >= kUnansweredSeconds) break;
        pump.WaitForEvents();
    }
    // Still waiting here: nobody answered, or the program is ending.
    alert.Dismiss();
    return alert.Answer();
}

}  // namespace bastion
