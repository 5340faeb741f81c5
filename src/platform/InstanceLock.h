// Whether the program already runs: the first run to claim a name holds it
// until it ends, and every later run finds it taken, and by which process.
#pragma once

#include <cstdint>
#include <string>

namespace bastion::platform {

struct InstanceClaim {
    // Nobody held the name: this run holds it now.
    bool first = true;
    // The name was held: the process that says it holds it; 0 when that
    // cannot be read (the name is held by something this user may not
    // open, or by an object of another kind).
    std::uint32_t holder = 0;
};

class InstanceLock {
public:
    virtual ~InstanceLock() = default;

    // Claims the name for this run (held until the program ends). Asking
    // again gives the same answer: a run never counts as another one.
    virtual InstanceClaim Claim(const std::string& name) = 0;
    // The name is held by no run of this program (another program took it
    // first, or a run that has ended still names itself): this run names
    // itself as the holder instead, where the name lets it, so that later
    // runs find this one.
    virtual void TakeOver(const std::string& name) = 0;
};

}  // namespace bastion::platform
