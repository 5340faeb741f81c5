// Walking, creating and copying folder trees with wide paths (deleting goes
// through folder handles: Win32FolderHandle).
// Shared by the FileSystem facility; every path goes through SystemPath.
#pragma once

#include <functional>
#include <string>

#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

// folder + "\" + name, without doubling a separator the folder ends with.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// Calls visit for every entry of the folder except "." and "..", hidden and
// system entries included. False when the folder cannot be listed; an empty
// drive root (which has no "." entry) lists as empty.
bool ForEachEntry(const std::wstring& folder, const std::function<void(const WIN32_FIND_DATAW&)>& visit);

// Creates the folder and the missing folders above it.
bool CreateFolderChain(const std::wstring& path);

// Copies files and subfolders; links to other folders (junctions, mount
// points) inside are created as empty folders, not followed, and a folder
// that is itself a link is not copied at all.
bool CopyTree(const std::wstring& from, const std::wstring& to);

}  // namespace bastion::win32
