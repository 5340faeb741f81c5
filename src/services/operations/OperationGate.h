// Which long work may run now. Scans, removals, updates and server requests
// are operations: they run inside a handler and pump events, so a button, a
// menu, the tray or a timer could start a second one inside the first. One
// gate per run says no to that: an operation starts only when none runs,
// and background work (the shields, the scheduler, the automatic update)
// starts only while no operation runs and no modal window is open, trying
// again at a later tick.
//
// Ending the program during an operation asks the operation to stop at its
// next safe point and ends once it has returned, so that nothing is cut off
// in the middle of writing a file.
//
// A command refused while a shield's alert waits for the user says why
// (tellAlertWaiting): the user may not have seen the alert.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace bastion::services {

class OperationGate {
public:
    // Held for as long as an operation runs; a refused start gives an empty
    // one (false). When it is released, an end that waited for it runs.
    class Operation {
    public:
        Operation() = default;
        Operation(Operation&& other) noexcept;
        Operation& operator=(Operation&& other) noexcept;
        Operation(const Operation&) = delete;
        Operation& operator=(const Operation&) = delete;
        ~Operation();

        explicit operator bool() const { return gate_ != nullptr; }
        // Ends the operation before the object goes away.
        void Finish();

    private:
        friend class OperationGate;
        explicit Operation(OperationGate& gate) : gate_(&gate) {}
        OperationGate* gate_ = nullptr;
    };

    // Held while a modal window (message box, dialog, input box, a window
    // with a modal loop of its own, an alert) is open.
    class ModalScope {
    public:
        explicit ModalScope(OperationGate& gate) : gate_(&gate) { ++gate_->modals_; }
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;
        ~ModalScope() { --gate_->modals_; }

    private:
        OperationGate* gate_;
    };

    // Held while an alert waits for the user's answer: a modal window that
    // the commands refused meanwhile name.
    class AlertScope {
    public:
        explicit AlertScope(OperationGate& gate) : modal_(gate), gate_(&gate) { ++gate_->alerts_; }
        AlertScope(const AlertScope&) = delete;
        AlertScope& operator=(const AlertScope&) = delete;
        ~AlertScope() { --gate_->alerts_; }

    private:
        ModalScope modal_;
        OperationGate* gate_;
    };

    OperationGate() = default;
    OperationGate(const OperationGate&) = delete;
    OperationGate& operator=(const OperationGate&) = delete;

    // Starts an operation unless one runs (or the program is ending). stop
    // asks the operation to end at its next safe point; an exit calls it.
    // A start refused while an alert waits says why.
    [[nodiscard]] Operation TryBegin(std::string_view name, std::function<void()> stop = {});
    // For a command that would start an operation: true when it must not
    // start now (one runs, or the program is ending); then, when an alert
    // waits, the user is told why.
    bool RefusesCommand();

    bool Running() const { return running_; }
    // The name of the running operation, empty when none runs.
    const std::string& Current() const { return current_; }
    bool ModalOpen() const { return modals_ > 0; }
    bool AlertWaiting() const { return alerts_ > 0; }
    // Background work may start: no operation, no modal window, no end on
    // its way.
    bool Idle() const { return !running_ && modals_ == 0 && !ending_; }

    // Ends the program through end: at once when no operation runs,
    // otherwise after the running one has been asked to stop and has
    // returned. A second request while the first waits is not queued again.
    void EndWhenIdle(std::function<void()> end);
    // An end waits for the running operation.
    bool Ending() const { return ending_; }

    // Tells the user that an alert waits for an answer (a message box);
    // nothing when empty.
    std::function<void()> tellAlertWaiting;

private:
    void Release();
    void TellRefused();

    bool running_ = false;
    std::string current_;
    std::function<void()> stop_;
    int modals_ = 0;
    int alerts_ = 0;
    // Set while the user is being told, so that the box cannot tell again.
    bool telling_ = false;
    bool ending_ = false;
    std::function<void()> end_;
};

}  // namespace bastion::services
