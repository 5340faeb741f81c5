// An event pump that counts its calls and runs scripted actions at given
// calls: how a test presses Stop or Pause in the middle of long work.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "services/waits/EventPump.h"

namespace bastion::testing {

class ScriptedEventPump : public services::EventPump {
public:
    void Pump() override;
    void PumpNow() override;

    // Runs action at the n-th call (from 1) of Pump or PumpNow, counted
    // together; several actions at one call run in the order given.
    void At(int n, std::function<void()> action);
    // Runs action at every call, after the actions for that call.
    void Always(std::function<void()> action);

    int PumpCount() const { return pumps_; }
    int PumpNowCount() const { return pumpNows_; }
    int CallCount() const { return pumps_ + pumpNows_; }

private:
    void Run();

    int pumps_ = 0;
    int pumpNows_ = 0;
    std::map<int, std::vector<std::function<void()>>> actions_;
    std::vector<std::function<void()>> always_;
};

}  // namespace bastion::testing
