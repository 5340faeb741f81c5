// System restore points around a removal (the routines of modGlobals):
// the whole removal can then be rolled back with the system's own tool.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/SystemInfo.h"
#include "platform/SystemRestore.h"

namespace bastion {

// The restore point type of a change to the system's settings
// (MODIFY_SETTINGS), which a removal is.
inline constexpr int kModifySettingsRestorePoint = 12;

// Windows Me (4.90), Windows XP (5.1) and every version from 6 on.
bool IsRestorePointSupported(const platform::OsVersion& version);

class RestorePoint {
public:
    explicit RestorePoint(platform::SystemRestore& restore) : restore_(restore) {}

    // False when one is open already (it must be ended first) or the system
    // made none.
    bool BeginRestorePoint(const std::string& description, int restorePointType);
    // Ends the open one; nothing is open afterwards, whatever the outcome.
    bool EndRestorePoint();
    bool Open() const { return sequenceNumber_.has_value(); }

private:
    platform::SystemRestore& restore_;
    std::optional<std::int64_t> sequenceNumber_;
};

}  // namespace bastion
