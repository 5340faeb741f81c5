// The data a folder link keeps on the file system (the reparse data of a
// junction, mount point or symbolic link), read and written here so that
// the byte layout is checked on every build.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace bastion::platform {

inline constexpr std::uint32_t kReparseTagMountPoint = 0xA0000003u;
inline constexpr std::uint32_t kReparseTagSymbolicLink = 0xA000000Cu;

// The link the reparse data describes; nullopt for data of another kind,
// or data that is cut short or inconsistent.
std::optional<FolderLink> DecodeFolderLinkData(std::string_view bytes);

// The reparse data that makes a folder a junction to link.target (a full
// drive path or a volume); nullopt for a symbolic link or any other target.
std::optional<std::string> EncodeJunctionData(const FolderLink& link);

}  // namespace bastion::platform
