#include "services/operations/OperationGate.h"

#include <utility>

namespace bastion::services {

OperationGate::Operation::Operation(Operation&& other) noexcept : gate_(std::exchange(other.gate_, nullptr)) {}

OperationGate::Operation& OperationGate::Operation::operator=(Operation&& other) noexcept {
    if (this != &other) {
        Finish();
        gate_ = std::exchange(other.gate_, nullptr);
    }
    return *this;
}

OperationGate::Operation::~Operation() { Finish(); }

void OperationGate::Operation::Finish() {
    if (OperationGate* gate = std::exchange(gate_, nullptr)) gate->Release();
}

OperationGate::Operation OperationGate::TryBegin(std::string_view name, std::function<void()> stop) {
    if (running_ || ending_) {
        TellRefused();
        return {};
    }
    running_ = true;
    current_ = name;
    stop_ = std::move(stop);
    return Operation(*this);
}

bool OperationGate::RefusesCommand() {
    if (!running_ && !ending_) return false;
    TellRefused();
    return true;
}

void OperationGate::TellRefused() {
    if (alerts_ == 0 || ending_ || telling_ || !tellAlertWaiting) return;
    telling_ = true;
    try {
        tellAlertWaiting();
    } catch (...) {
        // The command stays refused all the same.
    }
    telling_ = false;
}

void OperationGate::Release() {
    running_ = false;
    current_.clear();
    stop_ = nullptr;
    if (!ending_) return;
    // The end that waited runs once, after the operation has returned to
    // the handler that started it.
    std::function<void()> end = std::exchange(end_, nullptr);
    ending_ = false;
    try {
        if (end) end();
    } catch (...) {
        // Ending must not throw out of the operation's handler.
    }
}

void OperationGate::EndWhenIdle(std::function<void()> end) {
    if (!running_) {
        if (end) end();
        return;
    }
    if (ending_) return;
    ending_ = true;
    end_ = std::move(end);
    if (stop_) stop_();
}

}  // namespace bastion::services
