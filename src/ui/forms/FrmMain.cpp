#include "ui/forms/FrmMain.h"

namespace bastion::ui {

namespace {
void Menu(MenuItem& parent, std::initializer_list<std::pair<MenuItem*, const char*>> items) {
    for (const auto& [item, caption] : items) {
        item->SetCaption(caption);
        parent.children.push_back(item);
    }
}
}  // namespace

FrmMain::FrmMain() : Form("FrmMain") {
    // The load fills in the product name.
    frmStatus.SetCaption("[ProgramName] Status");
    frmScan.SetCaption("Scan for malicious items");
    frmResults.SetCaption("Results");

    cmdStatus.SetCaption("Home");
    cmdScan.SetCaption("Scan");
    cmdResults.SetCaption("Results/Removal");
    cmdSettings.SetCaption("Options");
    cmdUpdate.SetCaption("Update Now");
    cmdLog.SetCaption("Log File");
    Command5.SetCaption("Minimize");
    cmdHijack.SetCaption("Launch Veru-Dedezi");
    cmdHijack.SetVisible(false);
    lblHide.SetCaption("X");
    lblStart.SetCaption("Start");
    lblPause.SetCaption("Pause");
    lblStop.SetCaption("Stop");
    lblOptions.SetCaption("Options");
    lblResult.SetCaption("Result");
    lblRemove.SetCaption("Remove");
    lblExit.SetCaption("Exit");

    lblScheduleMissed.SetVisible(false);
    lblDefinitionsUnconfirmed.SetVisible(false);
    cmdMainScan.SetCaption("Smart Scan");
    cmdMainScan1.SetCaption("Full System Scan");
    cmdMainScan2.SetCaption("File Scan");
    cmdMainScan3.SetCaption("Directory Scan");

    optScan[kSmartScan].SetCaption("Smart Scan");
    optScan[kFullSystemScan].SetCaption("Full System Scan");
    optScan[kFileScan].SetCaption("File Scan");
    optScan[kFolderScan].SetCaption("Folder Scan");
    optScan[kSmartScan].SetValue(true);
    cmdScanNow.SetCaption("Start");
    cmdPause.SetCaption("Pause");
    cmdStop.SetCaption("Stop");
    cmdPause.SetEnabled(false);
    cmdStop.SetEnabled(false);
    for (Label* counter : {&lblMemoryInspected, &lblRegistryInspected, &lblFilesFolderInspected, &lblSoftwareFound,
                           &lbltracesFound, &lblTotalNoOfRunningItems, &lblRemovePicSoftwareFound}) {
        counter->SetCaption("0");
    }
    lvwSpywareFound.AddColumn("Name", 3000);
    lvwSpywareFound.AddColumn("Details", 6000);

    auto& results = lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    results.checkBoxes = true;
    // Widths until the user's own are restored (the exit path stores them).
    const std::pair<const char*, double> resultColumns[] = {
        {"File", 2600}, {"Location", 4400}, {"Type", 1700}, {"Risk", 1400}, {"Details", 5000}};
    for (auto [column, width] : resultColumns) results.AddColumn(column, width);
    cmdSelectAll.SetCaption("Select All");
    cmdExclude.SetCaption("Exclude");
    cmdBrowse.SetCaption("Browse");
    Command4.SetCaption("Repair Now");
    cmdRemove.SetCaption("Remove");
    cmdFalsePos.SetCaption("False positive");
    lblViewLogFile.SetCaption("Show Report");
    pgbDeleteSpywaresFound.SetVisible(false);
    lblDeletingPercentageCompleted.SetVisible(false);
    lblDeletingCaption.SetVisible(false);

    lvwFilesToBeDeleted.AddColumn("File");
    lvwFilesToBeDeleted.AddColumn("Threat");
    for (const char* column : {"Main Key", "KeyValue", "Value", "SpywareName", "View"}) {
        lvwRegistryToBeDeleted.AddColumn(column);
    }
    lvwCookiesToDelete.AddColumn("Cookie Name");
    lvwCookiesToDelete.AddColumn("CookieLocation");
    for (ListView* hidden : {&lvwFilesToBeDeleted, &lvwRegistryToBeDeleted, &lvwCookiesToDelete, &lvwFileNotFounds}) {
        hidden->SetVisible(false);
    }

    for (const char* tab : {"Scan Options", "Proactive Protection", "Schedule", "Auto Update"}) TabStrip1.AddTab(tab);
    for (std::size_t i = 1; i < frmView.size(); ++i) frmView[i].SetVisible(false);
    chkSendData.SetCaption("Send anonymous data to help identify unknown spyware");
    chkMakeLog.SetCaption("Save scan results to log");
    fraScanType.SetCaption("Scan Type");
    optScanAllSelectedHardDrive.SetCaption("Complete System Scan");
    optScanOnlyKnownSoftwares.SetCaption("Quick Scan");
    fraDrives.SetCaption("Drive Selection");
    lvwHardDrives.checkBoxes = true;
    lvwHardDrives.AddColumn("Drive");
    chkSweepMemory.SetCaption("Scan Proccesses and Files");
    chkScanRegistry.SetCaption("Scan Windows Registry");
    chkScanCookies.SetCaption("Scan Internet Cookies");
    chkParallelWalk.SetCaption("List folders with several threads");
    Command1.SetCaption("Scan Now");
    fraHomePage.SetCaption("Home Page Hijack Protection");
    chkHomePage.SetCaption("Enable");
    optIEHomePageSheildOn.SetCaption("Enabled");
    optIEHomePageSheildOff.SetCaption("Disabled");
    lblHomePageChange.SetCaption("When a change in my Home Page is detected:");
    optAlwaysnotifybeforerestoring.SetCaption("Ask me what I would like to do");
    optRestoredefaultwithoutnotification.SetCaption("Silently restore my original home page");
    fraAutoProtect.SetCaption("Auto-Protect");
    chkAutoProtect.SetCaption("Enable");
    optMemorySheildOn.SetCaption("Enabled");
    optMemorySheildOff.SetCaption("Disabled");
    fraRunAtStartup.SetCaption("Run at Windows Startup");
    chkRunAtStartup.SetCaption("Run at Startup - Configured with installer");
    lblRunAtStart.SetCaption("(Disabled)");
    fraFileShield.SetCaption("File Shield");
    optFileShieldOn.SetCaption("Enabled");
    optFileShieldOff.SetCaption("Disabled");
    chkFileShieldQuarantine.SetCaption("Quarantine threats the file shield finds without asking");
    lvwFileShieldFolders.checkBoxes = true;
    lvwFileShieldFolders.AddColumn("Folder", 6300);
    lvwFileShieldFolders.AddColumn("State", 3600);
    cmdAddShieldFolder.SetCaption("Add Folder...");
    cmdRemoveShieldFolder.SetCaption("Remove Ticked");
    chkAutomaticScanYesOrNo.SetCaption("Enable Scheduled Scans");
    for (const char* day : {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday", "Daily",
                            "Date & Time", "Never"}) {
        cmbDays.AddItem(day);
    }
    dtpScheduleDate.format = PickerFormat::Date;
    dtpScheduleTime.format = PickerFormat::Time;
    chkAutoDel.SetCaption("Delete spyware automatically after scheduled scan");
    cmdDefaultSetting.SetCaption("Reset");
    CmdProceed.SetCaption("Apply");
    chkAutomaticUpdate.SetCaption("Enable automatic Live update (recommended)");
    cmdLiveUpdate.SetCaption("Run Live Update Now");
    fraFalsePositive.SetCaption("Submit a file for analysis");
    Command2.SetCaption("Browse");
    cmdSubmit.SetCaption("Submit");
    Label26.SetCaption("Results:");

    // "&" marks each menu's access key.
    mnuFile.SetCaption("&File");
    Menu(mnuFile, {{&mnuScanNow, "&Scan Now"},
                   {&mnuSep1, "-"},
                   {&mnuViewLog, "View &Log"},
                   {&mnuSep2, "-"},
                   {&mnuLiveUpdate, "Run Live &Update"},
                   {&mnuSep3, "-"},
                   {&mnuMinimizeToTray, "&Minimize to Tray"},
                   {&mnuSep4, "-"},
                   {&mnuExit, "E&xit"}});
    mnuSettings.SetCaption("&Settings");
    Menu(mnuSettings, {{&mnuSettingsItem[0], "&Scan Options"},
                       {&mnuSettingsItem[1], "&Proactive Protection"},
                       {&mnuSettingsItem[2], "S&chedule"},
                       {&mnuSettingsItem[3], "&Auto Update"}});
    mnuQuarantine.SetCaption("&Quarantine");
    Menu(mnuQuarantine, {{&mnuQuarItem[0], "View &Quarantine"},
                         {&mnuQuarRestore, "&Restore..."},
                         {&mnuQuarItem[1], "View &Exclusions"}});
    mnuLanguages.SetCaption("&Languages");
    Menu(mnuLanguages, {{&mnuChangeLanguage, "&Change Language"}});
    mnuHelp.SetCaption("&Help");
    Menu(mnuHelp, {{&mnuViewHelp, "View &Help"}});
    mnuAbout.SetCaption("&About");
    Menu(mnuAbout, {{&mnuAboutItem, "&About this software"}});

    // What the program fills in as it runs (counts, dates, states, names)
    // and what carries no words: a language switch leaves these alone.
    for (Control* live : std::initializer_list<Control*>{
             &lblDefCount, &lblVersion, &lblDefVersion, &lblDefRemoved, &lblLastScan, &lblLastFullScan, &lblScheduleMissed,
             &lblDefinitionsUnconfirmed,
             &Label22,
             &lblStatus, &lblPercentageCompleted, &lblMemoryInspected, &lblRegistryInspected,
             &lblFilesFolderInspected, &lblSoftwareFound, &lbltracesFound, &lblTotalNoOfRunningItems,
             &lblRemovePicSoftwareFound, &lblDeletingPercentageCompleted, &lblDeletingCaption, &lblRunAtStart,
             &lblLastUpdate, &Label26, &cmdWebsite, &cmdHijack, &lblHide, &lvwFilesToBeDeleted,
             &lvwRegistryToBeDeleted, &lvwCookiesToDelete, &lvwFileNotFounds}) {
        live->SetShowsLiveState();
    }
}

}  // namespace bastion::ui
