// Whether the program already runs: the first run to claim a name holds it
// until it ends, and every later run finds it taken.
#pragma once

#include <string>

namespace bastion::platform {

class InstanceLock {
public:
    virtual ~InstanceLock() = default;

    // Claims the name for this run (held until the program ends) and tells
    // whether another running program had claimed it first. Asking again
    // gives the same answer: a run never counts as another one.
    virtual bool AnotherInstanceRunning(const std::string& name) = 0;
};

}  // namespace bastion::platform
