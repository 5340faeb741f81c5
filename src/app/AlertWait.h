// Waiting for the user's answer to an alert from inside the work that
// raised it. The rest of the program goes on meanwhile (events are
// dispatched while the wait sleeps between them), but no background work
// starts behind the alert: it counts as a modal window for the gate, and
// commands refused meanwhile say that an alert waits.
//
// An alert nobody answers does not hold the guard for good: after
// kUnansweredSeconds it is closed as not answered.
#pragma once

#include "platform/Clock.h"
#include "services/operations/OperationGate.h"
#include "services/waits/EventPump.h"
#include "ui/forms/AlertForm.h"

namespace bastion {

inline constexpr long long kUnansweredSeconds = 10 * 60;

// Opens the alert and returns its answer once a button was pressed, or
// ui::AlertButton::None when it was closed without one, nobody answered in
// time, or the program is ending (then it is not shown at all, or closed).
// The alert is closed on return.
ui::AlertButton AskAndWait(ui::AlertForm& alert, services::EventPump& pump, services::OperationGate& gate,
                           platform::Clock& clock);

}  // namespace bastion
