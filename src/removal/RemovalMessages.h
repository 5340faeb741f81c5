// The removal's own messages beyond the catalogue's defaults: what could
// not be removed, a restore point that could not be made, and the restore
// window's questions and answers. Translations replace them by key.
#pragma once

#include <string_view>

#include "removal/RemovalResult.h"
#include "services/messages/MessageCatalogue.h"

namespace bastion::msg {

inline constexpr std::string_view kNotRemoved = "MSG_NOT_REMOVED";
inline constexpr std::string_view kNotFound = "MSG_NOT_FOUND";
inline constexpr std::string_view kNoRestorePoint = "MSG_NO_RESTOREPOINT";
inline constexpr std::string_view kReplace = "MSG_REPLACE";
inline constexpr std::string_view kRestored = "MSG_RESTORED";
inline constexpr std::string_view kNotRestored = "MSG_NOT_RESTORED";
inline constexpr std::string_view kDeleteAtRestart = "MSG_DELETE_AT_RESTART";
inline constexpr std::string_view kNotDeleteAtRestart = "MSG_NOT_DELETE_AT_RESTART";
// Why an item was not put back, and the question before one is put back
// where it affects every user.
inline constexpr std::string_view kRestoreMachineWide = "MSG_RESTORE_MACHINE_WIDE";
inline constexpr std::string_view kRestoreBadRecord = "MSG_RESTORE_BAD_RECORD";
inline constexpr std::string_view kRestoreBadBackup = "MSG_RESTORE_BAD_BACKUP";
inline constexpr std::string_view kRestoreNoCopy = "MSG_RESTORE_NO_COPY";
inline constexpr std::string_view kRestorePendingDelete = "MSG_RESTORE_PENDING_DELETE";
inline constexpr std::string_view kRestoreNotWritten = "MSG_RESTORE_NOT_WRITTEN";
inline constexpr std::string_view kRestoreNotAgreed = "MSG_RESTORE_NOT_AGREED";
inline constexpr std::string_view kRestoreThroughLink = "MSG_RESTORE_THROUGH_LINK";
// What a removal result says beyond its word (RemovalNote).
inline constexpr std::string_view kPartOfWindows = "MSG_WINDOWS_NOT_REMOVED";
inline constexpr std::string_view kWindowsDefault = "MSG_WINDOWS_DEFAULT";

}  // namespace bastion::msg

namespace bastion {

void FillRemovalMessages(services::MessageCatalogue& catalogue);

// The message key of the note; empty for none.
std::string_view RemovalNoteKey(RemovalNote note);

}  // namespace bastion
