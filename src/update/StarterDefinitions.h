// The starter definitions: a definition set that ships in the program
// folder (folder "StarterDefinitions" beside the programs) and is put into
// the data folder when that holds no definitions at all, so that a new user
// can scan before the first update. Its date file comes with it, so the
// first update asks only for what is newer.
#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace bastion {

inline constexpr std::string_view kStarterDefinitionsFolder = "StarterDefinitions";

// Copies the starter set from the program folder into the data folder when
// none of the definition files nor "date.dat" is there. Each file is written
// beside its place and renamed into it; the date last, so a set cut short
// has no date and the next update fetches everything. True when it
// installed the set.
bool InstallStarterDefinitions(platform::FileSystem& files, std::string_view programFolder,
                               std::string_view dataFolder);

}  // namespace bastion
