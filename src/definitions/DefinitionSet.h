// The definition set as a whole: the incremental updates only work on a
// complete set, so an incomplete one loses its date and the next update asks
// for every change again, which rebuilds the missing files. The files that
// are there stay: an offline user keeps them, and adding a line that is
// already there changes nothing. Replacement files left waiting in the data
// folder ("DL" + the file's name) are put in place at start-up.
#pragma once

#include <string_view>

#include "platform/FileSystem.h"
#include "services/messages/MessageCatalogue.h"
#include "ui/forms/Controls.h"

namespace bastion {

// True when the five definition files that updates build on are all in the
// data folder. On the first one missing, lblDefVersion shows
// MSG_MISSINGFILES, the set is reset and the result is false.
bool CheckDefinitionFiles(platform::FileSystem& files, std::string_view dataFolder,
                          const services::MessageCatalogue& messages, ui::Label& lblDefVersion);

// Deletes "date.dat", so that the next update asks for every change since
// the default date; the definition files stay. A failure is ignored.
void ResetDefinitionFiles(platform::FileSystem& files, std::string_view dataFolder);

// Puts each waiting replacement of "BlockedCookies.dat",
// "RegistryDefinition.dat", "FileDefinition.dat" and "ExeDefinition.dat" in
// place of the live file. The set is reset first when any waits, so that
// the next update checks them against every change whatever point a crash
// stopped at. A replacement that cannot be moved leaves the live file as it
// was and waits for the next start.
void InstallPendingDefinitionFiles(platform::FileSystem& files, std::string_view dataFolder);

}  // namespace bastion
