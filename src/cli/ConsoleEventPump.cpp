#include "cli/ConsoleEventPump.h"

namespace bastion::cli {

// A press before anyone listens stays noted for the first listener.
void ConsoleEventPump::TakeInterrupt() {
    if (onInterrupt && interrupted_.exchange(false)) {
        onInterrupt();
    }
}

void ConsoleEventPump::Pump() {
    TakeInterrupt();
    const auto now = std::chrono::steady_clock::now();
    if (now - lastRedraw_ < kRedrawInterval) return;
    lastRedraw_ = now;
    if (onRedraw) onRedraw();
}

void ConsoleEventPump::PumpNow() {
    TakeInterrupt();
    lastRedraw_ = std::chrono::steady_clock::now();
    if (onRedraw) onRedraw();
}

}  // namespace bastion::cli
