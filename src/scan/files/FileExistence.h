// Whether the item a definition names is there, as the known-location scans
// ask it.
#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace bastion {

// True when a look-up of the path finds an entry whose name equals the
// path's last part (ignoring case) and that a plain directory listing would
// return: not a folder, not hidden, not a system file.
bool FileExists(platform::FileSystem& files, const std::string& path);

bool FolderExists(platform::FileSystem& files, const std::string& path);

}  // namespace bastion
