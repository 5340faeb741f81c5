// The removal's own messages beyond the catalogue's defaults: what could
// not be removed, a restore point that could not be made, and the restore
// window's questions and answers. Translations replace them by key.
#pragma once

#include <string_view>

#include "ui/MessageCatalogue.h"

namespace bastion::msg {

inline constexpr std::string_view kNotRemoved = "MSG_NOT_REMOVED";
inline constexpr std::string_view kNoRestorePoint = "MSG_NO_RESTOREPOINT";
inline constexpr std::string_view kReplace = "MSG_REPLACE";
inline constexpr std::string_view kRestored = "MSG_RESTORED";
inline constexpr std::string_view kNotRestored = "MSG_NOT_RESTORED";
inline constexpr std::string_view kDeleteAtRestart = "MSG_DELETE_AT_RESTART";
inline constexpr std::string_view kNotDeleteAtRestart = "MSG_NOT_DELETE_AT_RESTART";

}  // namespace bastion::msg

namespace bastion {

void FillRemovalMessages(ui::MessageCatalogue& catalogue);

}  // namespace bastion
