// Lets pending window messages run from inside long work on the one user
// interface thread.
#pragma once

#include <functional>

#include "services/waits/EventPump.h"

namespace bastion::win32 {

class Win32EventPump final : public services::EventPump {
public:
    // Some 15 ms between rounds keeps a per-file Pump() call cheap and the
    // window still smooth.
    static constexpr unsigned long long kIntervalMs = 15;

    // Runs each round of dispatching only when kIntervalMs have passed since
    // the last one.
    void Pump() override;
    void PumpNow() override;
    // Blocks in MsgWaitForMultipleObjectsEx until input arrives (or a
    // second passes), then dispatches it.
    void WaitForEvents() override;
    // True once a round met WM_QUIT; the message is posted again so that the
    // main message loop still ends.
    bool Quitting() const override { return quitSeen_; }

    // Called at the start of every round and after every message the round
    // dispatches: the window layer pushes changed models to the native
    // controls, so progress shows even when no message was waiting.
    void SetAfterDispatch(std::function<void()> callback) { afterDispatch_ = std::move(callback); }

private:
    void Notify();

    std::function<void()> afterDispatch_;
    unsigned long long lastRound_ = 0;
    bool quitSeen_ = false;
};

}  // namespace bastion::win32
