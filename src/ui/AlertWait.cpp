#include "ui/AlertWait.h"

namespace bastion::ui {

AlertButton AskAndWait(AlertForm& alert, EventPump& pump, OperationGate& gate) {
    if (gate.Ending() || pump.Quitting()) return AlertButton::None;
    OperationGate::ModalScope modal(gate);
    alert.Open();
    while (alert.Waiting() && !gate.Ending() && !pump.Quitting()) {
        pump.WaitForEvents();
    }
    // Still waiting here means the program is ending: no answer.
    alert.Dismiss();
    return alert.Answer();
}

}  // namespace bastion::ui
