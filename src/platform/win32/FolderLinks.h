// Folder links (junctions, mount points, symbolic links) read and made
// through their reparse data, and the final path of an item: the names of
// the FileSystem facility that go beyond plain files and folders.
#pragma once

#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

std::optional<platform::FolderLink> ReadFolderLinkAt(const std::wstring& path);
bool MakeFolderLinkAt(const std::wstring& path, const platform::FolderLink& link);

// See platform::FileSystem::FinalPath.
std::wstring FinalPathOf(const std::wstring& path);
// The path the open handle names, without a "\\?\" prefix.
std::optional<std::wstring> FinalPathOfHandle(HANDLE handle);

}  // namespace bastion::win32
