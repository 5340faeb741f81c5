// The main window: four pages stacked on one another (Home, Scan, Results,
// Options), the navigation buttons and menus, the result lists of the last
// scan (the visible ones, and the hidden removal queues the form names),
// the counters and progress of the scan page, and the timers of the
// background work.
#pragma once

#include <array>

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"
#include "ui/forms/FrmMainCaptions.h"
#include "ui/forms/ListView.h"

namespace bastion::ui {

// Small icon numbers shared by the activity list and the results list.
inline constexpr int kIconCookie = 1;
inline constexpr int kIconRegistry = 2;
inline constexpr int kIconFile = 3;
inline constexpr int kIconFolder = 4;
inline constexpr int kIconExcluded = 5;

// Positions of the scan kinds in optScan.
inline constexpr int kSmartScan = 0;
inline constexpr int kFullSystemScan = 1;
inline constexpr int kFileScan = 2;
inline constexpr int kFolderScan = 3;

class FrmMain : public Form {
public:
    FrmMain();

    // --- pages -----------------------------------------------------------
    Frame frmStatus{*this, "frmStatus"};
    Frame frmScan{*this, "frmScan"};
    Frame frmResults{*this, "frmResults"};
    Frame frmOptions{*this, "frmOptions"};

    // --- navigation ------------------------------------------------------
    CommandButton cmdStatus{*this, "cmdStatus"};
    CommandButton cmdScan{*this, "cmdScan"};
    CommandButton cmdResults{*this, "cmdResults"};
    CommandButton cmdSettings{*this, "cmdSettings"};
    CommandButton cmdUpdate{*this, "cmdUpdate"};
    CommandButton cmdLog{*this, "cmdLog"};
    CommandButton Command5{*this, "Command5"};
    CommandButton cmdWebsite{*this, "cmdWebsite"};
    CommandButton cmdHijack{*this, "cmdHijack"};
    Label lblHide{*this, "lblHide"};
    Label lblStart{*this, "lblStart"};
    Label lblPause{*this, "lblPause"};
    Label lblStop{*this, "lblStop"};
    Label lblOptions{*this, "lblOptions"};
    Label lblResult{*this, "lblResult"};
    Label lblRemove{*this, "lblRemove"};
    Label lblExit{*this, "lblExit"};

    // --- home page -------------------------------------------------------
    Label Label22{*this, "Label22"};
    Label lblDefCount{*this, "lblDefCount"};
    Label lblVersion{*this, "lblVersion"};
    Label lblDefVersion{*this, "lblDefVersion"};
    Label lblDefRemoved{*this, "lblDefRemoved"};
    Label lblLastScan{*this, "lblLastScan"};
    Label lblLastFullScan{*this, "lblLastFullScan"};
    // "Scheduled scan missed at ..." while the last scheduled moment passed
    // without its scan.
    Label lblScheduleMissed{*this, "lblScheduleMissed"};
    // "Definitions could not be confirmed as current since ..." while no
    // verified date answer has come for a week.
    Label lblDefinitionsUnconfirmed{*this, "lblDefinitionsUnconfirmed"};
    CommandButton cmdMainScan{*this, "cmdMainScan"};    // "Smart Scan"
    CommandButton cmdMainScan1{*this, "cmdMainScan1"};  // "Full System Scan"
    CommandButton cmdMainScan2{*this, "cmdMainScan2"};  // "File Scan"
    CommandButton cmdMainScan3{*this, "cmdMainScan3"};  // "Directory Scan"

    // --- scan page -------------------------------------------------------
    OptionGroup scanKinds;
    std::array<OptionButton, 4> optScan{{{*this, "optScan", 0, &scanKinds},
                                         {*this, "optScan", 1, &scanKinds},
                                         {*this, "optScan", 2, &scanKinds},
                                         {*this, "optScan", 3, &scanKinds}}};
    CommandButton cmdScanNow{*this, "cmdScanNow"};
    CommandButton cmdPause{*this, "cmdPause"};
    CommandButton cmdStop{*this, "cmdStop"};
    // The first element of the status label array.
    Label lblStatus{*this, "lblStatus", 0};
    Label lblPercentageCompleted{*this, "lblPercentageCompleted"};
    ProgressBar pb1{*this, "pb1"};
    ProgressBar pb2{*this, "pb2"};
    ProgressBar pbgMain{*this, "pbgMain"};
    Label lblMemoryInspected{*this, "lblMemoryInspected"};
    Label lblRegistryInspected{*this, "lblRegistryInspected"};
    Label lblFilesFolderInspected{*this, "lblFilesFolderInspected"};
    Label lblSoftwareFound{*this, "lblSoftwareFound"};
    Label lbltracesFound{*this, "lbltracesFound"};
    Label lblTotalNoOfRunningItems{*this, "lblTotalNoOfRunningItems"};
    // The activity list: "Name", "Details".
    ListView lvwSpywareFound{*this, "lvwSpywareFound"};

    // --- results page ----------------------------------------------------
    // The results list: "File", "Location", "Type", "Risk", "Details".
    ListView lvwPicRemoveListOfSpywareFoundAndToBeRemoved{*this, "lvwPicRemoveListOfSpywareFoundAndToBeRemoved"};
    Label lblRemovePicSoftwareFound{*this, "lblRemovePicSoftwareFound"};
    CommandButton cmdSelectAll{*this, "cmdSelectAll"};
    CommandButton cmdExclude{*this, "cmdExclude"};
    CommandButton cmdBrowse{*this, "cmdBrowse"};
    CommandButton Command4{*this, "Command4"};  // "Repair Now"
    CommandButton cmdRemove{*this, "cmdRemove"};
    CommandButton cmdFalsePos{*this, "cmdFalsePos"};
    Label lblViewLogFile{*this, "lblViewLogFile"};
    ProgressBar pgbDeleteSpywaresFound{*this, "pgbDeleteSpywaresFound"};
    Label lblDeletingPercentageCompleted{*this, "lblDeletingPercentageCompleted"};
    Label lblDeletingCaption{*this, "lblDeletingCaption"};

    // --- hidden removal queues --------------------------------------------
    // Never shown, and left empty: removal works from the scan's detections,
    // which the results list's rows name by id.
    ListView lvwFilesToBeDeleted{*this, "lvwFilesToBeDeleted"};
    ListView lvwRegistryToBeDeleted{*this, "lvwRegistryToBeDeleted"};
    ListView lvwCookiesToDelete{*this, "lvwCookiesToDelete"};
    ListView lvwFileNotFounds{*this, "lvwFileNotFounds"};

    // --- options page ----------------------------------------------------
    TabStrip TabStrip1{*this, "TabStrip1"};
    std::array<Frame, 4> frmView{{{*this, "frmView", 0},
                                  {*this, "frmView", 1},
                                  {*this, "frmView", 2},
                                  {*this, "frmView", 3}}};
    // Scan Options
    CheckBox chkSendData{*this, "chkSendData"};
    CheckBox chkMakeLog{*this, "chkMakeLog"};
    Frame fraScanType{*this, "fraScanType"};
    OptionGroup scanTypes;
    OptionButton optScanAllSelectedHardDrive{*this, "optScanAllSelectedHardDrive", -1, &scanTypes};
    OptionButton optScanOnlyKnownSoftwares{*this, "optScanOnlyKnownSoftwares", -1, &scanTypes};
    Frame fraDrives{*this, "fraDrives"};
    ListView lvwHardDrives{*this, "lvwHardDrives"};
    CheckBox chkSweepMemory{*this, "chkSweepMemory"};
    CheckBox chkScanRegistry{*this, "chkScanRegistry"};
    CheckBox chkScanCookies{*this, "chkScanCookies"};
    CheckBox chkParallelWalk{*this, "chkParallelWalk"};
    CommandButton Command1{*this, "Command1"};  // "Scan Now"
    // Proactive Protection
    Frame fraHomePage{*this, "fraHomePage"};
    CheckBox chkHomePage{*this, "chkHomePage"};
    OptionGroup homePageShield;
    OptionButton optIEHomePageSheildOn{*this, "optIEHomePageSheildOn", -1, &homePageShield};
    OptionButton optIEHomePageSheildOff{*this, "optIEHomePageSheildOff", -1, &homePageShield};
    Label lblHomePageChange{*this, "lblHomePageChange"};
    OptionGroup homePageRestore;
    OptionButton optAlwaysnotifybeforerestoring{*this, "optAlwaysnotifybeforerestoring", -1, &homePageRestore};
    OptionButton optRestoredefaultwithoutnotification{*this, "optRestoredefaultwithoutnotification", -1,
                                                      &homePageRestore};
    Frame fraAutoProtect{*this, "fraAutoProtect"};
    CheckBox chkAutoProtect{*this, "chkAutoProtect"};
    OptionGroup memoryShield;
    OptionButton optMemorySheildOn{*this, "optMemorySheildOn", -1, &memoryShield};
    OptionButton optMemorySheildOff{*this, "optMemorySheildOff", -1, &memoryShield};
    Frame fraRunAtStartup{*this, "fraRunAtStartup"};
    CheckBox chkRunAtStartup{*this, "chkRunAtStartup"};
    Label lblRunAtStart{*this, "lblRunAtStart"};
    Frame fraFileShield{*this, "fraFileShield"};
    OptionGroup fileShield;
    OptionButton optFileShieldOn{*this, "optFileShieldOn", -1, &fileShield};
    OptionButton optFileShieldOff{*this, "optFileShieldOff", -1, &fileShield};
    CheckBox chkFileShieldQuarantine{*this, "chkFileShieldQuarantine"};
    // The folders watched: one row each, with whether it is watched;
    // "Remove" takes the ticked rows away.
    ListView lvwFileShieldFolders{*this, "lvwFileShieldFolders"};
    CommandButton cmdAddShieldFolder{*this, "cmdAddShieldFolder"};
    CommandButton cmdRemoveShieldFolder{*this, "cmdRemoveShieldFolder"};
    // Schedule
    CheckBox chkAutomaticScanYesOrNo{*this, "chkAutomaticScanYesOrNo"};
    ComboBox cmbDays{*this, "cmbDays"};
    DateTimePicker dtpScheduleDate{*this, "dtpScheduleDate"};
    DateTimePicker dtpScheduleTime{*this, "dtpScheduleTime"};
    CheckBox chkAutoDel{*this, "chkAutoDel"};
    CommandButton cmdDefaultSetting{*this, "cmdDefaultSetting"};
    CommandButton CmdProceed{*this, "CmdProceed"};
    // Auto Update
    CheckBox chkAutomaticUpdate{*this, "chkAutomaticUpdate"};
    CommandButton cmdLiveUpdate{*this, "cmdLiveUpdate"};
    Label lblLastUpdate{*this, "lblLastUpdate"};
    Frame fraFalsePositive{*this, "fraFalsePositive"};
    TextBox txtFilename{*this, "txtFilename"};
    CommandButton Command2{*this, "Command2"};  // "Browse"
    CommandButton cmdSubmit{*this, "cmdSubmit"};
    Label Label26{*this, "Label26"};

    // --- menus -----------------------------------------------------------
    MenuItem mnuFile{*this, "mnuFile"};
    MenuItem mnuScanNow{*this, "mnuScanNow"};
    MenuItem mnuSep1{*this, "mnuSep1"};
    MenuItem mnuViewLog{*this, "mnuViewLog"};
    MenuItem mnuSep2{*this, "mnuSep2"};
    MenuItem mnuLiveUpdate{*this, "mnuLiveUpdate"};
    MenuItem mnuSep3{*this, "mnuSep3"};
    MenuItem mnuMinimizeToTray{*this, "mnuMinimizeToTray"};
    MenuItem mnuSep4{*this, "mnuSep4"};
    MenuItem mnuExit{*this, "mnuExit"};
    MenuItem mnuSettings{*this, "mnuSettings"};
    std::array<MenuItem, 4> mnuSettingsItem{{{*this, "mnuSettingsItem", 0},
                                             {*this, "mnuSettingsItem", 1},
                                             {*this, "mnuSettingsItem", 2},
                                             {*this, "mnuSettingsItem", 3}}};
    MenuItem mnuQuarantine{*this, "mnuQuarantine"};
    std::array<MenuItem, 2> mnuQuarItem{{{*this, "mnuQuarItem", 0}, {*this, "mnuQuarItem", 1}}};
    MenuItem mnuQuarRestore{*this, "mnuQuarRestore"};  // "Restore..."
    MenuItem mnuLanguages{*this, "mnuLanguages"};
    MenuItem mnuChangeLanguage{*this, "mnuChangeLanguage"};
    MenuItem mnuHelp{*this, "mnuHelp"};
    MenuItem mnuViewHelp{*this, "mnuViewHelp"};
    MenuItem mnuAbout{*this, "mnuAbout"};
    MenuItem mnuAboutItem{*this, "mnuAboutItem"};

    // The captions beside and below the values the pages show.
    FrmMainCaptions captions{*this};

    // --- timers ----------------------------------------------------------
    Timer tmrCheckHomePage{*this, "tmrCheckHomePage", 5000, true};
    Timer tmrMemoryInspected{*this, "tmrMemoryInspected", 2000, true};
    // Once a second: the schedule is compared to the second.
    Timer tmrScheduler{*this, "tmrScheduler", 1000, true};
    Timer timUpdate{*this, "timUpdate", 1000, false};
    Timer tmrScroll{*this, "tmrScroll", 200, true};
    Timer tmrTimeOut{*this, "tmrTimeOut", 30000, true};
    // The file shield's looks at what arrived, on only while something
    // waits (the interval is the shield's).
    Timer tmrFileShield{*this, "tmrFileShield", 250, false};

    // The four pages, for hiding all but one.
    std::array<Frame*, 4> Pages() { return {&frmStatus, &frmScan, &frmResults, &frmOptions}; }
};

}  // namespace bastion::ui
