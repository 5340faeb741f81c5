// What the quarantine keeps of a folder link it removed: not the content
// of the place it pointed to (which was never the threat's to lose), only
// the link itself, in a small text file of two lines, the kind ("junction"
// or "symbolic link") and the target.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace bastion {

inline constexpr std::string_view kLinkRecordExtension = ".link";

std::string FormatLinkRecord(const platform::FolderLink& link);
// nullopt for anything but the two lines FormatLinkRecord writes.
std::optional<platform::FolderLink> ParseLinkRecord(std::string_view bytes);

}  // namespace bastion
