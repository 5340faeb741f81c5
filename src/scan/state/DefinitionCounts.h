// Counting the lines of the definition files: the denominators of the scan
// percentages and the definition count of the status page. Runs when the
// main window loads and after every definition update.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "scan/state/ScanState.h"

namespace bastion {

// Lines as the text files are read (CR LF, lone LF or lone CR end a line; a
// last line without an end counts). A missing file has 0; a file whose
// reading fails part-way counts the lines read before.
std::int32_t CountFileLines(platform::FileSystem& files, const std::string& path);

// The per-kind counts of the definition files in the data folder.
DefinitionCounts CountDefinitionLines(platform::FileSystem& files, std::string_view dataFolder);

// Stores the counts in the scan state and returns the total.
std::int32_t CountDefinitions(platform::FileSystem& files, std::string_view dataFolder, ScanState& state);

}  // namespace bastion
