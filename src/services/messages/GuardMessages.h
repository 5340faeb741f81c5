// The messages of the guard: what the shields, the scheduler and the run at
// start-up say when they cannot do what they are there for, and the texts
// of the windows they fill. Keys and English texts, filled into the
// catalogue after the default messages.
#pragma once

#include <string_view>

#include "services/messages/MessageCatalogue.h"

namespace bastion::services {

namespace msg {
// A running threat a scan or the alert could not stop; the file name comes
// first.
inline constexpr std::string_view kNotStopped = "MSG_NOT_STOPPED";
inline constexpr std::string_view kNeedsAdministrator = "MSG_NEEDS_ADMIN";
// A running program a definition names that is a part of Windows.
inline constexpr std::string_view kPartOfWindowsNotStopped = "MSG_WINDOWS_NOT_STOPPED";
// The alert of a threat that only an administrator may stop.
inline constexpr std::string_view kAlertNeedsAdministrator = "MSG_ALERT_NEEDS_ADMIN";
// The offer to start again with administrator rights; the names come first.
inline constexpr std::string_view kRestartElevated = "MSG_RESTART_ELEVATED";
// A command refused while an alert waits.
inline constexpr std::string_view kAlertWaiting = "MSG_ALERT_WAITING";
// The home page; the date follows.
inline constexpr std::string_view kScheduleMissed = "MSG_SCHEDULE_MISSED";
inline constexpr std::string_view kNever = "MSG_NEVER";
// The home-page alert, line by line around the two pages.
inline constexpr std::string_view kHomePageChanged = "MSG_HOMEPAGE_CHANGED";
inline constexpr std::string_view kHomePageKeep = "MSG_HOMEPAGE_KEEP";
inline constexpr std::string_view kHomePageChange = "MSG_HOMEPAGE_CHANGE";
// The home page's setting is locked.
inline constexpr std::string_view kHomePageUnreadable = "MSG_HOMEPAGE_UNREADABLE";
inline constexpr std::string_view kHomePageNotRestored = "MSG_HOMEPAGE_NOT_RESTORED";
// The run-at-start-up label and what an unticked box could not undo.
inline constexpr std::string_view kRunAllUsers = "MSG_RUN_ALL_USERS";
inline constexpr std::string_view kRunThisUser = "MSG_RUN_THIS_USER";
inline constexpr std::string_view kRunDisabled = "MSG_RUN_DISABLED";
inline constexpr std::string_view kRunNotRemoved = "MSG_RUN_NOT_REMOVED";
// The Auto Update tab; the definition date follows.
inline constexpr std::string_view kLastUpdated = "MSG_LAST_UPDATED";
inline constexpr std::string_view kOptionsNotRestored = "MSG_OPTIONS_NOT_RESTORED";
// The sibling product's program is gone; its path follows.
inline constexpr std::string_view kFileGone = "MSG_FILE_GONE";
// Browse, after the sixth ticked row.
inline constexpr std::string_view kBrowseMany = "MSG_BROWSE_MANY";
// The tip of the download window's notification-area icon.
inline constexpr std::string_view kDownloadTip = "MSG_DOWNLOAD_TIP";
// The file shield: its notice of a file it quarantined (the threat and the
// file follow), the state of each folder on the Options page, and the
// title of the folder browser that adds one.
inline constexpr std::string_view kFileShieldQuarantined = "MSG_FILESHIELD_QUARANTINED";
inline constexpr std::string_view kFileShieldWatched = "MSG_FILESHIELD_WATCHED";
inline constexpr std::string_view kFileShieldTopLevel = "MSG_FILESHIELD_TOP_LEVEL";
inline constexpr std::string_view kFileShieldNotFound = "MSG_FILESHIELD_NOT_FOUND";
inline constexpr std::string_view kFileShieldNotSupported = "MSG_FILESHIELD_NOT_SUPPORTED";
inline constexpr std::string_view kFileShieldFailed = "MSG_FILESHIELD_FAILED";
inline constexpr std::string_view kFileShieldOff = "MSG_FILESHIELD_OFF";
inline constexpr std::string_view kFileShieldBrowse = "MSG_FILESHIELD_BROWSE";
}  // namespace msg

void FillGuardMessages(MessageCatalogue& catalogue);

}  // namespace bastion::services
