// The running processes as the process scan and the stop by name see them:
// base names and identifiers in the order the system enumerates them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Processes.h"

namespace bastion {

struct ProcessList {
    // Parallel lists: names[i] is the executable base name of ids[i], and
    // paths[i] the full path it runs from (empty when only the snapshot
    // named it).
    std::vector<std::string> names;
    std::vector<std::uint32_t> ids;
    std::vector<std::string> paths;

    std::size_t Count() const { return names.size(); }
    friend bool operator==(const ProcessList&, const ProcessList&) = default;
};

// Fills the list and returns the count, or -1 when the enumeration fails
// (the list is then empty). Only processes whose name could be read are
// listed. A non-empty filter lists only the processes whose name occurs in
// it (ignoring case). useProcessIds enumerates identifiers and names each by
// the program it runs (its image path), which elevated programs and
// services give too; otherwise a process snapshot is taken and its
// executable names are used.
int GetProcessList(platform::Processes& processes, ProcessList& list, std::string_view filter,
                   bool useProcessIds);

}  // namespace bastion
