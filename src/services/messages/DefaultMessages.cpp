#include "services/messages/DefaultMessages.h"

#include <array>
#include <utility>

#include "services/messages/MessageKeys.h"

namespace bastion::services {

namespace {

// In filling order. The texts are kept exactly, blanks included: callers
// join several of them, or one with a file or program name, into one box.
constexpr std::array<std::pair<std::string_view, std::string_view>, 81> kDefaultMessages{{
    {msg::kThank1, "Thank you for using [ProgramName]!"},
    {msg::kThank2,
     "Because this is the first time you have used [ProgramName] we recommend running Live Update now to download the "
     "most recent adware and spyware definitions."},
    {msg::kThank3, "Would you like to run Live Update now?"},
    {msg::kThank4, "Update Now?"},
    {msg::kMissing, "Definition files are missing or they have been corrupted. Please run Live Update."},
    {msg::kPaused, "[ProgramName] has been paused.  Click OK to resume."},
    {msg::kSure, "Are you sure?"},
    {msg::kExclude1, "No exclusion file exists yet."},
    {msg::kExclude2, "No Exclusion File"},
    {msg::kInternet, "Definitions could not be downloaded. Please check your internet connection."},
    {msg::kAnon1, "By sending anonymous data you can help us identify new spyware more quickly."},
    {msg::kAnon2,
     "No personal information is collected, the only information sent is executable names that are currently loaded "
     "into memory."},
    {msg::kAnon3, "Do you really want to turn off anonymous data collection?"},
    {msg::kAnon4, "Really turn off anonymous data collection?"},
    {msg::kSorry, "Sorry, there are no entries to be excluded."},
    {msg::kSorry2, "Sorry, there are no entries to be deleted."},
    {msg::kExcSure1, "Are you sure you want to exclude the selected files?"},
    {msg::kExcSure2, "Excluded files will not show up as Adware/Spyware on future scans."},
    {msg::kExcSure3, "You can edit the list of excluded files through the Quarantine menu."},
    {msg::kExcSure4, "Really Exclude?"},
    {msg::kDate, "Please select the date that you want to scan."},
    {msg::kStop, "Are you sure you want to stop the scan?"},
    {msg::kSelected, "No entries are selected.  You must check the box next to at least one item in the list."},
    {msg::kConfirm1, "Are you sure you want to delete the selected files?"},
    {msg::kConfirm2, "Deleted files will be backed up in the following folder in case you need to recover them:"},
    {msg::kConfirm3,
     "In addition, a System Restore Point will be created using Windows System Restore, accessible through:"},
    {msg::kConfirm4, "Start > Programs > Accessories > System Tools > System Restore"},
    {msg::kErrorStopped,
     "could not be stopped.  You should try again after saving your work and closing any open applications."},
    {msg::kFound1, "[ProgramName] has found ["},
    {msg::kFound2, "] using you system memory. Click YES to stop ["},
    {msg::kFound3, "] from using your system memory. Otherwise click No."},
    {msg::kClosing,
     "Closing [ProgramName] may leave your system vulnerable to malicious programs. Are you sure you want to exit?"},
    {msg::kReally, "Really Delete?"},
    {msg::kRemoving, "Removing : 0% Completed."},
    {msg::kRemoving2, "Removing"},
    {msg::kCompleted, "Completed."},
    {msg::kMissingFiles, "Files Missing, Run Live Update"},
    {msg::kNoCompany, "No Company name available for"},
    {msg::kDownloading, "Connecting to server/downloading....."},
    {msg::kConnecting, "Connecting to server....."},
    {msg::kChecking, "Checking for Definitions....."},
    {msg::kConnecting2, "Connecting to the Server."},
    {msg::kSending, "Sending and receiving data, please wait."},
    {msg::kSent, "Successfully sent the request."},
    {msg::kReceiving, "Receiving a response from the Server."},
    {msg::kScanCancelled, "Scanning was cancelled."},
    {msg::kScanCompleted, "Scanning complete."},
    {msg::kResults, "Results:"},
    {msg::kResultsThank, "submitted.  Thank you!"},
    {msg::kProblem, "There was a problem submitting"},
    {msg::kProblem2, "Please make sure you are connected to the internet, or try again later."},
    {msg::kUpdatedDefs, "Your [ProgramName] definitions have been updated!"},
    {msg::kRecentDefs, "You are using the most recent [ProgramName] definitions."},
    {msg::kWebsite, "Visit [Website]"},
    {msg::kCaption, "[ProgramName] by [CompanyName]"},
    {msg::kCaption2, "Welcome to [ProgramName]"},
    {msg::kCookies, "Inspecting Cookies"},
    {msg::kCookiesFinished, "Finished Inpecting Cookies"},
    {msg::kMemory, "Inspecting memory"},
    {msg::kNotSelected, "Not Selected"},
    {msg::kRegistry, "Scanning registry"},
    {msg::kSpyware, "Scanning known Spyware/Adware"},
    {msg::kInformation, "Gathering information..."},
    {msg::kRestorePoint, "Creating Restore Point..."},
    {msg::kComplete, "complete"},
    {msg::kFalsePos,
     "This will submit the following files to our research team for investigation.  You will be prompted to supply "
     "details about the susptected false positives.  Are you sure you want to continue?"},
    {msg::kFalsePos2,
     "Please enter more information about these files and the reason that you think they are a false positive.  If "
     "possible, please supply the location where we can download the non-malicious software that these files are "
     "related to, in addition to your email address if you would like to be contacted for followups."},
    {msg::kFalsePos3, "Error: You must supply details about the false positives.  Please try again."},
    {msg::kFalsePos4,
     "Your false positive report was submitted successfully.  Would you like to exclude these false positives from "
     "future scans?"},
    {msg::kFalsePos5,
     "There was an error submitting your report.  Please make sure you are connected to the internet and try again in "
     "a few minutes.  If you continue to receive this error please contact support."},
    // Looked up by the language window; no text of their own came with the
    // catalogue.
    {msg::kTitleLanguage, "Choose your language"},
    {msg::kDownloaded, "The newest translations have been downloaded."},
    {msg::kScheduleTime, "Please select the time that you want to scan."},
    {msg::kSchedulePast, "The date and time you selected have already passed, so this scan will not run."},
    // A download that failed keeps the translations there were; a report
    // too long for one request is not cut short but refused.
    {msg::kLanguageFailed,
     "The newest translations could not be downloaded. The translations you have are kept; "
     "please check your internet connection and try again later."},
    {msg::kTooLong, "This is too long to be sent. Please shorten the description and try again."},
    // Nothing changes when an answer is not the vendor's, or the disk
    // refuses the new files.
    {msg::kNotVerified, "Definitions could not be verified."},
    {msg::kLanguageNotVerified, "The newest translations could not be verified. The translations you have are kept."},
    {msg::kNotSaved, "The new definitions could not be saved. Please make sure the disk is not full and try again."},
    {msg::kDefinitionsUnconfirmed, "Definitions could not be confirmed as current since [Date]."},
    // A scan with part of the definitions would miss the rest unsaid.
    {msg::kUnreadable,
     "The definitions could not be read, so nothing was scanned. Please try again; if this "
     "keeps happening, run Live Update."},
}};

}  // namespace

void FillDefaultMessages(MessageCatalogue& catalogue) {
    for (const auto& [key, text] : kDefaultMessages) catalogue.setMessage(key, text);
}

}  // namespace bastion::services
