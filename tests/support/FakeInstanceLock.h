// Other runs of the program, and other holders of its name, as a test
// arranges them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/InstanceLock.h"

namespace bastion::testing {

class FakeInstanceLock : public platform::InstanceLock {
public:
    platform::InstanceClaim Claim(const std::string& name) override {
        asked.push_back(name);
        const auto found = held.find(name);
        if (found == held.end()) return {};
        return {false, found->second};
    }
    void TakeOver(const std::string& name) override { tookOver.push_back(name); }

    // The names held by another process: its id (0 when it cannot be told).
    std::map<std::string, std::uint32_t> held;
    // Every name asked about, and every name taken over, in order.
    std::vector<std::string> asked;
    std::vector<std::string> tookOver;
};

}  // namespace bastion::testing
