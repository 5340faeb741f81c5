// System Restore: beginning and ending a restore point.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace bastion::platform {

class SystemRestore {
public:
    virtual ~SystemRestore() = default;

    // Begins a system change (event 100) of the given restore point type;
    // the sequence number on success.
    virtual std::optional<std::int64_t> Begin(const std::string& description, int restorePointType) = 0;
    // Ends the system change (event 101) with that sequence number.
    virtual bool End(std::int64_t sequenceNumber) = 0;
};

}  // namespace bastion::platform
