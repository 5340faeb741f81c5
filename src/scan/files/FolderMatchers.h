// Matching the files and folders a folder walk meets against the definition
// tables: a definition also finds its file where it sits in another place
// than the one written, as long as enough of the folder agrees.
#pragma once

#include <string_view>

#include "scan/ScanContext.h"

namespace bastion {

// A file met by the walker (its full path): at most one detection or one
// "EXCLUDED" entry. True when it added one.
bool MatchFoundFile(ScanContext& context, std::string_view path);

// A folder met by the walker, with a trailing "\": at most one detection or
// one "EXCLUDED" entry.
void MatchFoundDirectory(ScanContext& context, std::string_view path);

// The number of equal, non-empty folder names two folder paths share,
// compared position by position from their ends after the drive ("c:\") is
// taken off; unequal pairs are skipped, not a stop. Both are lower-case.
int CommonTrailingFolders(std::string_view a, std::string_view b);

}  // namespace bastion
