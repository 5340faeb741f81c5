// The background work (the shields, the scheduler, the automatic update) as
// an operation sees it: held off while the operation runs. Holds count, so
// that operations inside one another leave it off until the outermost one
// has let go; TimersHeld holds it for a scope.
#pragma once

namespace bastion::services {

class BackgroundWork {
public:
    virtual ~BackgroundWork() = default;
    // One holder more: no background work starts.
    virtual void Suspend() = 0;
    // One holder fewer; with none left, the work the settings ask for runs
    // again.
    virtual void Resume() = 0;
};

}  // namespace bastion::services
