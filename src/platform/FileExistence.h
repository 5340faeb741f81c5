// Whether a named file or folder is there, as the known-location scans and
// the program's own files (help, translations) ask it.
#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace bastion {

// True when a look-up of the path finds a file (hidden and system ones
// included, folders not) whose name equals the path's last part, ignoring
// case.
bool FileExists(platform::FileSystem& files, const std::string& path);

bool FolderExists(platform::FileSystem& files, const std::string& path);

}  // namespace bastion
