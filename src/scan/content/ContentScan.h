// Finding threats by what their files hold: every file a scan examines is
// looked up by its size first, and read and hashed only when some content
// definition has that size.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "scan/ScanContext.h"

namespace bastion {

// Reads "ContentDefinition.dat" into the tables' content table, once per run
// (again after an update changed it); a missing file means no content
// definitions. A stop request ends the load early and leaves the table
// empty and to be loaded by whoever next needs it (stoppable: only a scan's
// own stop counts; the memory shield's load must not end on the flag a
// stopped scan left). Lines that are no content definition are left out and
// counted. False when the file is there but could not be read to its end:
// the table is left empty and unloaded as well, rather than holding part of
// the definitions for the rest of the run.
bool LoadContentDefinitions(ScanContext& context, bool stoppable = true);

// Whether reading the file would first fetch its content from elsewhere (a
// cloud service's placeholder, an archived file): such a file is never
// opened for its content, so that a scan downloads nothing.
bool ContentLiesElsewhere(std::uint32_t attributes);

struct ContentVerdict {
    // The definition the content is, when one is.
    std::optional<ContentTable::Match> match;
    // The size matched but the file could not be opened or read.
    bool unreadable = false;
    // The size matched but the content lies elsewhere: it was not read.
    bool elsewhere = false;
};

// The definition a file holds, if any: a file of a size some definition has
// is read and hashed, unless its content lies elsewhere. The size it has
// when opened decides (a file written since it was listed is looked up by
// its new size), and exactly that many bytes are hashed. The window is
// pumped between the pieces of a large file, and a stop request abandons
// its hash (no match).
ContentVerdict IdentifyContent(ScanContext& context, const std::string& path, const platform::DirEntry& entry);

// A file the walk or a known-location scan met that no name definition
// reported: at most one detection or one "EXCLUDED" entry, as a file
// definition's detection would give. A protected file is left alone (and not
// read); a file that cannot be read, or whose content lies elsewhere, is
// skipped and counted. True when either was added.
bool MatchFoundContent(ScanContext& context, const std::string& path, const platform::DirEntry& entry);

// A file whose content the definition is: its detection, or its "EXCLUDED"
// entry when the user excluded it.
void ReportFoundContent(ScanContext& context, const std::string& path, const ContentTable::Match& match);

}  // namespace bastion
