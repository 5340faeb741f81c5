// Letting pending window events run from inside long work on the one user
// interface thread: the window repaints, and Pause and Stop act.
#pragma once

namespace bastion::services {

class EventPump {
public:
    virtual ~EventPump() = default;
    // Cheap enough to call after every walked file: it dispatches only when
    // some 15 ms have passed since it last did.
    virtual void Pump() = 0;
    // Dispatches pending events now, whatever the time since the last time.
    virtual void PumpNow() = 0;
    // Sleeps until an event arrives, then dispatches what is pending: how a
    // window that waits for the user's answer (an alert) lets the program
    // run without spinning. A pump with nothing to wait on dispatches once.
    virtual void WaitForEvents() { PumpNow(); }
    // The program is ending (its message loop was told to quit): a wait for
    // the user ends at once.
    virtual bool Quitting() const { return false; }
};

}  // namespace bastion::services
