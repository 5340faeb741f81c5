#include "support/ScriptedEventPump.h"

namespace bastion::testing {

void ScriptedEventPump::Pump() {
    ++pumps_;
    Run();
}

void ScriptedEventPump::PumpNow() {
    ++pumpNows_;
    Run();
}

void ScriptedEventPump::At(int n, std::function<void()> action) { actions_[n].push_back(std::move(action)); }

void ScriptedEventPump::Always(std::function<void()> action) { always_.push_back(std::move(action)); }

void ScriptedEventPump::Run() {
    // An action may pump again (a message box inside a handler does); the
    // actions of this call are taken out first so they run once.
    const int call = CallCount();
    if (auto found = actions_.find(call); found != actions_.end()) {
        std::vector<std::function<void()>> due = std::move(found->second);
        actions_.erase(found);
        for (auto& action : due) action();
    }
    const std::vector<std::function<void()>> always = always_;
    for (const auto& action : always) action();
}

}  // namespace bastion::testing
