// File and directory definitions from fuzzed input: the lines go through the
// loader into their table and through the known-location scan that reads
// the same file; then the places the first rows name, walked through the
// indexed folder-walk matchers and through a plain pass over every row,
// must give the same rows, and again when the tables are read back from
// the image the load saved.
#pragma once

#include <string_view>

namespace bastion::fuzz {

enum class TableKind { Files, Directories };

void RunTableDefinitions(std::string_view lines, TableKind kind);

}  // namespace bastion::fuzz
