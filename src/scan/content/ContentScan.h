// Finding threats by what their files hold: every file a scan examines is
// looked up by its size first, and read and hashed only when some content
// definition has that size.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "scan/ScanContext.h"

namespace bastion {

// Reads "ContentDefinition.dat" into the tables' content table, once per run
// (again after an update changed it); a missing file means no content
// definitions. A stop request ends the load early and leaves the table
// empty and to be loaded by whoever next needs it (stoppable: only a scan's
// own stop counts; the memory shield's load must not end on the flag a
// stopped scan left). Lines that are no content definition are left out.
void LoadContentDefinitions(ScanContext& context, bool stoppable = true);

struct ContentVerdict {
    // The definition the content is, when one is.
    std::optional<ContentTable::Match> match;
    // The size matched but the file could not be opened or read.
    bool unreadable = false;
};

// The definition a file of this size holds, if any. Only a file of a size
// some definition has is read.
ContentVerdict IdentifyContent(ScanContext& context, const std::string& path, std::uint64_t size);

// A file the walk or a known-location scan met that no name definition
// reported: at most one detection or one "EXCLUDED" row, as a file
// definition's detection would give. A protected file is left alone (and not
// read); a file that cannot be read is skipped and counted. True when a row
// was added.
bool MatchFoundContent(ScanContext& context, const std::string& path, std::uint64_t size);

}  // namespace bastion
