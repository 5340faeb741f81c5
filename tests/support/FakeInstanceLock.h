// Other runs of the program as a test arranges them: the names listed in
// running are held by another program.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/InstanceLock.h"

namespace bastion::testing {

class FakeInstanceLock : public platform::InstanceLock {
public:
    bool AnotherInstanceRunning(const std::string& name) override {
        asked.push_back(name);
        return running.count(name) != 0;
    }

    std::set<std::string> running;
    // Every name asked about, in order.
    std::vector<std::string> asked;
};

}  // namespace bastion::testing
