// Building the safety list from "Safety.dat" at the start of a scan.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/CodePage.h"
#include "definitions/PathTokens.h"
#include "definitions/SafetyList.h"
#include "platform/FileSystem.h"

namespace bastion {

// The entries a decoded "Safety.dat" line gives: none for a KIND that names
// nothing, one per place its path names (an entry may also be empty: it
// protects nothing). "[drive]" stands for the drive root, the path tokens
// are expanded.
std::vector<std::string> SafetyEntries(std::string_view line, const PathTokens& tokens);

// Replaces the list by the entries of "Safety.dat" in the data folder (an
// absent file gives the empty list). A stop request ends the reading; the
// entries read so far stay. Returns true.
bool LoadSafetyList(platform::FileSystem& files, const CodePage& codePage, std::string_view dataFolder,
                    const PathTokens& tokens, const bool& stopRequested, SafetyList& list);

}  // namespace bastion
