// Putting stored items back: files, cookies and folders where they were
// taken from (missing folders above them created again, an existing file
// replaced only when the caller agrees), registry values and keys from
// their backup files with their types and data. A restored item leaves the
// quarantine.
#pragma once

#include <functional>
#include <string>

#include "platform/Registry.h"
#include "removal/quarantine/Quarantine.h"

namespace bastion {

enum class RestoreResult {
    Restored,
    Kept,    // something is at the place and the caller chose not to replace it
    Failed,  // the stored copy is missing or unreadable, or writing failed
};

// Asked with the path of a file or folder that exists: true replaces it.
using ReplaceQuestion = std::function<bool(const std::string& path)>;

RestoreResult RestoreFromQuarantine(Quarantine& quarantine, platform::Registry& registry,
                                    const QuarantineItem& item, const ReplaceQuestion& replaceExisting);

}  // namespace bastion
