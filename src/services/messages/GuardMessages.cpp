#include "services/messages/GuardMessages.h"

namespace bastion::services {

void FillGuardMessages(MessageCatalogue& catalogue) {
    catalogue.setMessage(msg::kNotStopped, "could not be stopped");
    catalogue.setMessage(msg::kNeedsAdministrator, "could not be stopped: that needs administrator rights");
    catalogue.setMessage(msg::kPartOfWindowsNotStopped, "a part of Windows; not stopped");
    catalogue.setMessage(msg::kAlertNeedsAdministrator,
                         "It runs with administrator rights: stopping it needs them too.");
    catalogue.setMessage(msg::kRestartElevated,
                         "Stopping these programs needs administrator rights. Restart [ProgramName] as "
                         "administrator now?");
    catalogue.setMessage(msg::kAlertWaiting, "An alert is waiting for your answer.");
    catalogue.setMessage(msg::kScheduleMissed, "Scheduled scan missed at");
    catalogue.setMessage(msg::kNever, "Never");
    catalogue.setMessage(msg::kHomePageChanged, "[ProgramName] has detected that your Homepage has been changed.");
    catalogue.setMessage(msg::kHomePageKeep, "Click YES to keep your homepage as:");
    catalogue.setMessage(msg::kHomePageChange, "Click No to change your homepage to:");
    catalogue.setMessage(msg::kHomePageUnreadable,
                         "[ProgramName] cannot read your homepage: its setting has been locked, perhaps by the "
                         "program that changed it.");
    catalogue.setMessage(msg::kHomePageNotRestored,
                         "[ProgramName] could not restore your homepage: its setting is locked. You are not asked "
                         "again until the page changes.");
    catalogue.setMessage(msg::kRunAllUsers, "(Enabled - All Users)");
    catalogue.setMessage(msg::kRunThisUser, "(Enabled - This User)");
    catalogue.setMessage(msg::kRunDisabled, "(Disabled - Run Manually)");
    catalogue.setMessage(msg::kRunNotRemoved,
                         "[ProgramName] still starts at log-on for all users: removing that entry needs "
                         "administrator rights.");
    catalogue.setMessage(msg::kLastUpdated, "Signatures Last Updated On");
    catalogue.setMessage(msg::kOptionsNotRestored, "The options could not be restored; the defaults are shown.");
    catalogue.setMessage(msg::kDownloadTip, "Getting latest definitions.");
    catalogue.setMessage(msg::kFileGone, "Sorry, the following file no longer exists: ");
    catalogue.setMessage(msg::kBrowseMany,
                         "You have selected to browse more than 5 items at a time.  This can slow down your "
                         "computer.  Are you sure you want to continue?");
    catalogue.setMessage(msg::kFileShieldQuarantined, "The file shield put a threat in the quarantine:");
    catalogue.setMessage(msg::kFileShieldWatched, "Watched");
    catalogue.setMessage(msg::kFileShieldTopLevel, "Watched (this folder only)");
    catalogue.setMessage(msg::kFileShieldNotFound, "Not watched: the folder does not exist");
    catalogue.setMessage(msg::kFileShieldNotSupported, "Not watched: Windows cannot watch this folder");
    catalogue.setMessage(msg::kFileShieldFailed, "Not watched: the folder could not be opened");
    catalogue.setMessage(msg::kFileShieldOff, "Not watched: the file shield is off");
    catalogue.setMessage(msg::kFileShieldBrowse, "Choose a folder for the file shield to watch");
}

}  // namespace bastion::services
