// Every section, key, default and stored value text of the settings stores,
// spelled here once. Keys are mostly the names of the controls they belong
// to, misspellings included ("optMemorySheildOn"): outside readers and
// earlier installations know them by these names.
#pragma once

#include <string>
#include <string_view>

namespace bastion::services {

// A key of the program's own settings with its section and the default a
// missing value reads as.
struct SettingKey {
    std::string_view section;
    std::string_view name;
    std::string_view defaultValue;
};

}  // namespace bastion::services

namespace bastion::services::settings {

// Stored value texts.
inline constexpr std::string_view kTrue = "True";
inline constexpr std::string_view kFalse = "False";
// The one writer that stores a lower-case truth value ("SHOW").
inline constexpr std::string_view kFalseLowerCase = "false";
inline constexpr std::string_view kChecked = "1";
inline constexpr std::string_view kUnchecked = "0";
inline constexpr std::string_view kYes = "Yes";
inline constexpr std::string_view kNo = "No";
inline constexpr std::string_view kNever = "Never";
inline constexpr std::string_view kNull = "Null";
inline constexpr std::string_view kEnglish = "English";
inline constexpr std::string_view kRunning = "RUNNING";
inline constexpr std::string_view kStopped = "STOPPED";

// Sections of the program's own application name.
inline constexpr std::string_view kSectionSettings = "Settings";
inline constexpr std::string_view kSectionOptionAndSettings = "OptionAndSettings";
inline constexpr std::string_view kSectionDrives = "Drives";

// Section "Settings".
inline constexpr SettingKey kLanguage{kSectionSettings, "Language", kEnglish};
// The first-run test reads "Language" with this default: empty means the
// language was never chosen.
inline constexpr std::string_view kLanguageFirstRunDefault = "";
inline constexpr SettingKey kShowHelp{kSectionSettings, "showHelp", kChecked};
inline constexpr SettingKey kMinimized{kSectionSettings, "Minimized", kNo};
inline constexpr SettingKey kMax{kSectionSettings, "Max", kUnchecked};
inline constexpr SettingKey kLblLastScan{kSectionSettings, "lblLastScan", kNever};
inline constexpr SettingKey kLblLastFullScan{kSectionSettings, "lblLastFullScan", kNever};
inline constexpr SettingKey kLblDefRemoved{kSectionSettings, "lblDefRemoved", "0"};
inline constexpr SettingKey kChkAutoDel{kSectionSettings, "chkAutoDel", kUnchecked};
inline constexpr SettingKey kRanOneTime{kSectionSettings, "ranOneTime", kUnchecked};
// This user was greeted at a first start: the machine-wide "FirstTime"
// cannot be stored by a user without administrative rights.
inline constexpr SettingKey kFirstTimeThisUser{kSectionSettings, "FirstTime", ""};
inline constexpr SettingKey kIgnorePermissionDeniedError{kSectionSettings, "IgnorePermissionDeniedError",
                                                         kUnchecked};
// Width in twips of column n (from 1) of the results list: key "FoundCol2"
// followed by n, so column 1 is "FoundCol21".
inline constexpr std::string_view kFoundColumnPrefix = "FoundCol2";
inline constexpr std::string_view kFoundColumnDefault = "1400";
std::string FoundColumnKey(int column);

// Section "OptionAndSettings".
inline constexpr SettingKey kChkAutomaticUpdate{kSectionOptionAndSettings, "chkAutomaticUpdate", kChecked};
// The start-up test of the automatic update timer reads it with this default.
inline constexpr std::string_view kChkAutomaticUpdateTimerDefault = kUnchecked;
inline constexpr SettingKey kChkMakeLog{kSectionOptionAndSettings, "chkMakeLog", kChecked};
inline constexpr SettingKey kChkScanCookies{kSectionOptionAndSettings, "chkScanCookies", kChecked};
// The scan reads these two with the default "True"; the option page with 1.
inline constexpr SettingKey kChkScanRegistry{kSectionOptionAndSettings, "chkScanRegistry", kChecked};
inline constexpr SettingKey kChkSweepMemory{kSectionOptionAndSettings, "chkSweepMemory", kChecked};
inline constexpr std::string_view kScanPartDefault = kTrue;
// Folders listed by several threads at once; cleared, one thread walks
// alone (for slow network drives, which answer one request at a time).
inline constexpr SettingKey kChkParallelWalk{kSectionOptionAndSettings, "chkParallelWalk", kChecked};
inline constexpr SettingKey kChkSendData{kSectionOptionAndSettings, "chkSendData", kChecked};
inline constexpr SettingKey kChkRunAtStartup{kSectionOptionAndSettings, "chkRunAtStartup", kUnchecked};
// The one product whose first run defaults to running at start-up, marked
// done by "ranOneTime".
inline constexpr std::string_view kRunAtStartupFirstRunProduct = "Fennimar";
inline constexpr std::string_view kChkRunAtStartupFirstRunDefault = kChecked;
inline constexpr SettingKey kChkAutomaticScanYesOrNo{kSectionOptionAndSettings, "chkAutomaticScanYesOrNo",
                                                     kUnchecked};
// The list index of the scheduled day; the scheduler's default. The
// schedule page tests for a stored day with kDaySchedulePageDefault.
inline constexpr SettingKey kDay{kSectionOptionAndSettings, "Day", "7"};
inline constexpr std::string_view kDaySchedulePageDefault = "None";
inline constexpr SettingKey kTime{kSectionOptionAndSettings, "Time", kNull};
inline constexpr SettingKey kDate{kSectionOptionAndSettings, "Date", kNull};
// The kind of scan the schedule starts, chosen with the options page's scan
// type: the position in the scan page's kinds ("0" Smart Scan, "1" Full
// System Scan).
inline constexpr SettingKey kScheduleKind{kSectionOptionAndSettings, "ScheduleKind", kUnchecked};
// The latest scheduled moment that started no scan (general date text),
// until the next scheduled scan starts; and when the scheduler last looked,
// written at exit, so that moments missed while the program was not
// running are found at the next start.
inline constexpr SettingKey kScheduleMissed{kSectionOptionAndSettings, "ScheduleMissed", ""};
inline constexpr SettingKey kScheduleLastLook{kSectionOptionAndSettings, "ScheduleLastLook", ""};
// When (UTC, "2024-05-01T14:30:00Z") the last date answer the vendor's key
// verified arrived, and when the notice that none came for a week was last
// shown.
inline constexpr SettingKey kDefinitionsConfirmed{kSectionOptionAndSettings, "DefinitionsConfirmed", ""};
inline constexpr SettingKey kDefinitionsNotice{kSectionOptionAndSettings, "DefinitionsNotice", ""};
inline constexpr SettingKey kOptMemorySheildOn{kSectionOptionAndSettings, "optMemorySheildOn", kTrue};
inline constexpr SettingKey kOptMemorySheildOff{kSectionOptionAndSettings, "optMemorySheildOff", kFalse};
// The file shield: whether it watches, whether it quarantines what it finds
// without asking, and the folders it watches ("|" between them, "\\*" after
// a folder watched without its subfolders; "*" for the folders it watches
// until the user changes the list).
inline constexpr SettingKey kOptFileShieldOn{kSectionOptionAndSettings, "optFileShieldOn", kTrue};
inline constexpr SettingKey kOptFileShieldOff{kSectionOptionAndSettings, "optFileShieldOff", kFalse};
inline constexpr SettingKey kOptFileShieldQuarantine{kSectionOptionAndSettings, "optFileShieldQuarantine", kFalse};
inline constexpr SettingKey kFileShieldFolders{kSectionOptionAndSettings, "FileShieldFolders", "*"};
inline constexpr SettingKey kOptIEHomePageSheildOn{kSectionOptionAndSettings, "optIEHomePageSheildOn", kTrue};
inline constexpr SettingKey kOptIEHomePageSheildOff{kSectionOptionAndSettings, "optIEHomePageSheildOff", kFalse};
inline constexpr SettingKey kOptAlwaysnotifybeforerestoring{kSectionOptionAndSettings,
                                                            "optAlwaysnotifybeforerestoring", kTrue};
inline constexpr SettingKey kOptRestoredefaultwithoutnotification{
    kSectionOptionAndSettings, "optRestoredefaultwithoutnotification", kFalse};
inline constexpr SettingKey kOptScanAllSelectedHardDrive{kSectionOptionAndSettings, "optScanAllSelectedHardDrive",
                                                         kTrue};
// Written only; nothing reads it.
inline constexpr SettingKey kOptScanOnlyKnownSoftwares{kSectionOptionAndSettings, "optScanOnlyKnownSoftwares", ""};
inline constexpr SettingKey kHomepage{kSectionOptionAndSettings, "Homepage", ""};
// The number recorded for a definition file after its full download;
// written only.
inline constexpr SettingKey kRegistryDefinition{kSectionOptionAndSettings, "RegistryDefinition", ""};
inline constexpr SettingKey kFileDefinition{kSectionOptionAndSettings, "FileDefinition", ""};
inline constexpr SettingKey kEXEDefinition{kSectionOptionAndSettings, "EXEDefinition", ""};
inline constexpr SettingKey kCookieDefinition{kSectionOptionAndSettings, "CookieDefinition", ""};
// Run state published for outside readers; the program never reads them.
inline constexpr SettingKey kStatus{kSectionOptionAndSettings, "STATUS", ""};
inline constexpr SettingKey kRestart{kSectionOptionAndSettings, "RESTART", ""};
inline constexpr SettingKey kShow{kSectionOptionAndSettings, "SHOW", ""};
// The base address of an organisation's own definition server (a mirror);
// empty means the one the build names.
inline constexpr SettingKey kDefinitionServer{kSectionOptionAndSettings, "DefinitionServer", ""};
// The same for the language server, which the translations come from.
inline constexpr SettingKey kLanguageServer{kSectionOptionAndSettings, "LanguageServer", ""};

// Section "Drives": one key per drive row text, ticked unless stored
// otherwise.
inline constexpr std::string_view kDriveDefault = kTrue;

// The machine settings store (application name = product name).
inline constexpr SettingKey kMachineFirstTime{kSectionSettings, "FirstTime", ""};
inline constexpr SettingKey kMachineShowHelp{kSectionSettings, "showHelp", ""};

// The sibling product registry in the per-user store.
inline constexpr std::string_view kSiblingRegistryApplication = "Pellworth";  // this product registers here
inline constexpr std::string_view kSiblingProductApplication = "Kestrune";    // the sibling is read here
inline constexpr std::string_view kSiblingNameKey = "Name";
inline constexpr std::string_view kSiblingFileKey = "File";
// The program with this title finds its sibling under this section instead
// of the company name.
inline constexpr std::string_view kSiblingAlternateTitle = "Zembrid";
inline constexpr std::string_view kSiblingAlternateSection = "Orvandel";

}  // namespace bastion::services::settings
