// The console scanner's event pump. There are no window messages; what
// comes in from outside is Ctrl+C or Ctrl+Break, which the console's control
// handler notes in an atomic flag on its own thread. The pump turns a noted
// press into the scan's stop request on the scan's thread, and redraws the
// progress line now and then.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>

#include "services/waits/EventPump.h"

namespace bastion::cli {

class ConsoleEventPump final : public services::EventPump {
public:
    static constexpr std::chrono::milliseconds kRedrawInterval{100};

    explicit ConsoleEventPump(std::atomic<bool>& interrupted) : interrupted_(interrupted) {}

    void Pump() override;
    void PumpNow() override;

    // Runs once per press, on the thread that pumps.
    std::function<void()> onInterrupt;
    // Redraws the progress: at most every kRedrawInterval from Pump, always
    // from PumpNow.
    std::function<void()> onRedraw;

private:
    void TakeInterrupt();

    std::atomic<bool>& interrupted_;
    std::chrono::steady_clock::time_point lastRedraw_{};
};

}  // namespace bastion::cli
