// System Restore that records the restore points begun and ended and
// answers as the test says.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/SystemRestore.h"

namespace bastion::testing {

struct RestorePointBegun {
    std::string description;
    int type = 0;
    friend bool operator==(const RestorePointBegun&, const RestorePointBegun&) = default;
};

class FakeSystemRestore : public platform::SystemRestore {
public:
    std::optional<std::int64_t> Begin(const std::string& description, int restorePointType) override {
        begun.push_back({description, restorePointType});
        if (failBegin) {
            return std::nullopt;
        }
        return nextSequenceNumber++;
    }

    bool End(std::int64_t sequenceNumber) override {
        ended.push_back(sequenceNumber);
        return !failEnd;
    }

    // System Restore switched off or absent: every restore point fails.
    bool failBegin = false;
    bool failEnd = false;
    std::int64_t nextSequenceNumber = 1;

    std::vector<RestorePointBegun> begun;  // failed attempts included
    std::vector<std::int64_t> ended;
};

}  // namespace bastion::testing
