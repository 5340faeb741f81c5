// Folder handles (platform::FolderHandle) over the system's relative opens:
// every entry is opened by its name through the handle of its folder
// (NtCreateFile with a root directory), itself rather than what a link
// names, and its kind is read from its own handle.
#pragma once

#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace bastion::win32 {

// The folder at path held open (see FileSystem::OpenFolder).
std::unique_ptr<platform::FolderHandle> OpenFolderAt(const std::string& path, platform::LinkAtEnd atEnd);

}  // namespace bastion::win32
