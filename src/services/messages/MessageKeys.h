// The keys of the message catalogue, spelled once. A key is also the tag
// under which a translation file carries the message.
#pragma once

#include <string_view>

namespace bastion::services::msg {

inline constexpr std::string_view kThank1 = "MSG_THANK1";
inline constexpr std::string_view kThank2 = "MSG_THANK2";
inline constexpr std::string_view kThank3 = "MSG_THANK3";
inline constexpr std::string_view kThank4 = "MSG_THANK4";
inline constexpr std::string_view kMissing = "MSG_MISSING";
inline constexpr std::string_view kPaused = "MSG_PAUSED";
inline constexpr std::string_view kSure = "MSG_SURE";
inline constexpr std::string_view kExclude1 = "MSG_EXCLUDE1";
inline constexpr std::string_view kExclude2 = "MSG_EXCLUDE2";
inline constexpr std::string_view kInternet = "MSG_INTERNET";
inline constexpr std::string_view kAnon1 = "MSG_ANON1";
inline constexpr std::string_view kAnon2 = "MSG_ANON2";
inline constexpr std::string_view kAnon3 = "MSG_ANON3";
inline constexpr std::string_view kAnon4 = "MSG_ANON4";
inline constexpr std::string_view kSorry = "MSG_SORRY";
inline constexpr std::string_view kSorry2 = "MSG_SORRY2";
inline constexpr std::string_view kExcSure1 = "MSG_EXC_SURE1";
inline constexpr std::string_view kExcSure2 = "MSG_EXC_SURE2";
inline constexpr std::string_view kExcSure3 = "MSG_EXC_SURE3";
inline constexpr std::string_view kExcSure4 = "MSG_EXC_SURE4";
inline constexpr std::string_view kDate = "MSG_DATE";
inline constexpr std::string_view kStop = "MSG_STOP";
inline constexpr std::string_view kSelected = "MSG_SELECTED";
inline constexpr std::string_view kConfirm1 = "MSG_CONFIRM1";
inline constexpr std::string_view kConfirm2 = "MSG_CONFIRM2";
inline constexpr std::string_view kConfirm3 = "MSG_CONFIRM3";
inline constexpr std::string_view kConfirm4 = "MSG_CONFIRM4";
inline constexpr std::string_view kErrorStopped = "MSG_ERROR_STOPPED";
inline constexpr std::string_view kFound1 = "MSG_FOUND1";
inline constexpr std::string_view kFound2 = "MSG_FOUND2";
inline constexpr std::string_view kFound3 = "MSG_FOUND3";
inline constexpr std::string_view kClosing = "MSG_CLOSING";
inline constexpr std::string_view kReally = "MSG_REALLY";
inline constexpr std::string_view kRemoving = "MSG_REMOVING";
inline constexpr std::string_view kRemoving2 = "MSG_REMOVING2";
inline constexpr std::string_view kCompleted = "MSG_COMPLETED";
inline constexpr std::string_view kMissingFiles = "MSG_MISSINGFILES";
inline constexpr std::string_view kNoCompany = "MSG_NOCOMPANY";
inline constexpr std::string_view kDownloading = "MSG_DOWNLOADING";
inline constexpr std::string_view kConnecting = "MSG_CONNECTING";
inline constexpr std::string_view kChecking = "MSG_CHECKING";
inline constexpr std::string_view kConnecting2 = "MSG_CONNECTING2";
inline constexpr std::string_view kSending = "MSG_SENDING";
inline constexpr std::string_view kSent = "MSG_SENT";
inline constexpr std::string_view kReceiving = "MSG_RECEIVING";
inline constexpr std::string_view kScanCancelled = "MSG_SCAN_CANCELLED";
inline constexpr std::string_view kScanCompleted = "MSG_SCAN_COMPLETED";
inline constexpr std::string_view kResults = "MSG_RESULTS";
inline constexpr std::string_view kResultsThank = "MSG_RESULTS_THANK";
inline constexpr std::string_view kProblem = "MSG_PROBLEM";
inline constexpr std::string_view kProblem2 = "MSG_PROBLEM2";
inline constexpr std::string_view kUpdatedDefs = "MSG_UPDATED_DEFS";
inline constexpr std::string_view kRecentDefs = "MSG_RECENT_DEFS";
inline constexpr std::string_view kWebsite = "MSG_WEBSITE";
inline constexpr std::string_view kCaption = "MSG_CAPTION";
inline constexpr std::string_view kCaption2 = "MSG_CAPTION2";
inline constexpr std::string_view kCookies = "MSG_COOKIES";
inline constexpr std::string_view kCookiesFinished = "MSG_COOKIES_FINISHED";
inline constexpr std::string_view kMemory = "MSG_MEMORY";
inline constexpr std::string_view kNotSelected = "MSG_NOTSELECTED";
inline constexpr std::string_view kRegistry = "MSG_REGISTRY";
inline constexpr std::string_view kSpyware = "MSG_SPYWARE";
inline constexpr std::string_view kInformation = "MSG_INFORMATION";
inline constexpr std::string_view kRestorePoint = "MSG_RESTOREPOINT";
inline constexpr std::string_view kComplete = "MSG_COMPLETE";
inline constexpr std::string_view kFalsePos = "MSG_FALSE_POS";
inline constexpr std::string_view kFalsePos2 = "MSG_FALSE_POS2";
inline constexpr std::string_view kFalsePos3 = "MSG_FALSE_POS3";
inline constexpr std::string_view kFalsePos4 = "MSG_FALSE_POS4";
inline constexpr std::string_view kFalsePos5 = "MSG_FALSE_POS5";
inline constexpr std::string_view kTitleLanguage = "MSG_TITLELANGUAGE";
inline constexpr std::string_view kDownloaded = "MSG_DOWNLOADED";
// The schedule's "Apply": a schedule without a time, and a date gone by.
inline constexpr std::string_view kScheduleTime = "MSG_SCHEDULE_TIME";
inline constexpr std::string_view kSchedulePast = "MSG_SCHEDULE_PAST";
inline constexpr std::string_view kLanguageFailed = "MSG_LANGUAGE_FAILED";
inline constexpr std::string_view kTooLong = "MSG_TOO_LONG";
// An update or translation file whose signature did not hold, and
// definitions that could not be written to disk.
inline constexpr std::string_view kNotVerified = "MSG_NOT_VERIFIED";
inline constexpr std::string_view kLanguageNotVerified = "MSG_LANGUAGE_NOT_VERIFIED";
inline constexpr std::string_view kNotSaved = "MSG_NOT_SAVED";
// No verified date answer for a week; "[Date]" is the day of the last.
inline constexpr std::string_view kDefinitionsUnconfirmed = "MSG_DEFS_UNCONFIRMED";
inline constexpr std::string_view kUnreadable = "MSG_UNREADABLE";

}  // namespace bastion::services::msg
