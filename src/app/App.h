// One run of the program: everything the engine needs, owned in one place
// and wired together. Both programs build one from the machine's
// facilities, their dialogs and their event pump; the parts are handed to
// the components by reference.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AlertWindows.h"
#include "app/RemovalCommands.h"
#include "app/ResultsPresenter.h"
#include "app/ScanController.h"
#include "app/SchedulePage.h"
#include "app/ShieldTimers.h"
#include "app/pages/FeedbackPage.h"
#include "app/pages/StatusPage.h"
#include "app/pages/UpdateFlow.h"
#include "definitions/DefinitionTables.h"
#include "definitions/ExclusionList.h"
#include "definitions/SafetyList.h"
#include "platform/Platform.h"
#include "removal/RemovalEngine.h"
#include "report/ScanReport.h"
#include "scan/ScanEngine.h"
#include "scan/ScanOptions.h"
#include "scan/processes/ProcessScanner.h"
#include "scan/state/ScanState.h"
#include "scheduler/Scheduler.h"
#include "services/Services.h"
#include "services/dialogs/ModalDialogs.h"
#include "shields/HomePageShield.h"
#include "shields/MemoryShield.h"
#include "shields/file/FileShield.h"
#include "ui/forms/FrmMain.h"
#include "ui/translation/ClsLanguages.h"
#include "update/DefinitionTrust.h"
#include "update/TrustedDefinitions.h"

namespace bastion {

// The data folder for the current user: "[appdata]DovuVedivazIVE" expanded,
// without a trailing backslash; created when missing.
std::string PrepareDataFolder(platform::Shell& shell, platform::FileSystem& files);

// Every message of the program with its English text, in the catalogue's
// order.
services::MessageCatalogue ProgramMessages(const services::Identity& identity);

// The definitions of a run with administrator rights, in a build that
// names the vendor's key: the machine's files, but the definition files
// made from the program folder's starter set and the kept signed deltas
// (TrustedDefinitionFiles). nullptr for a build without a key, which has
// nothing to verify the deltas by and reads the files as always.
std::unique_ptr<TrustedDefinitionFiles> TrustedDefinitionsOf(platform::Platform& machine);
// The machine with another file system.
platform::Platform WithFiles(const platform::Platform& machine, platform::FileSystem& files);
// What the report says of the kept deltas the trusted definitions skipped.
std::vector<std::string> SkippedDeltaNotes(TrustedDefinitionFiles& trusted);

class App {
public:
    App(platform::Platform& platform, services::Dialogs& dialogs, services::EventPump& pump,
        services::Identity identity);
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Puts the starter definitions from the program folder into a data
    // folder that holds none (a first start).
    void InstallStarterDefinitions();

    // What a scan needs loaded before it starts: the definition line counts
    // (the progress denominators), the exclusion list, and the drive list
    // with its stored ticks.
    void LoadScanData();

    // A drive was attached or taken away: the drive list follows, each drive
    // still there keeping its tick.
    void RefreshDrives();

    // The scan report of the last scan, as the end of a scan writes it.
    bool WriteReport();

    // The home page's figures as they stand now.
    void RefreshHomePage();
    // A scheduled moment that started no scan is kept, and shown on the
    // home page until the next scheduled scan starts.
    void ScheduledScanMissed(const DateTime& moment);
    // The scheduled scan of an occurrence.
    void RunScheduledScan();

    platform::Platform& platform;
    // One operation at a time; a modal window holds background work off.
    services::OperationGate operations;
    services::ModalDialogs modalDialogs;
    // The front end's dialogs, seen by the gate while they are open.
    services::Dialogs& dialogs = modalDialogs;
    services::EventPump& pump;
    const services::Identity identity;
    // The English defaults; translations replace them later.
    services::MessageCatalogue messages;
    // The language the windows and messages speak; every window goes
    // through it when it is created.
    ui::clsLanguages languages;
    services::SettingsStore settings;
    const std::string dataFolder;

    ui::FrmMain form;
    // Held off until the start-up has completed.
    ShieldTimers shieldTimers{form, settings};
    // All of the above, as the parts below take it.
    const services::Services services;
    ScanState state;
    DefinitionTables tables;
    SafetyList safety;
    ExclusionList exclusions;
    ProcessScanner processScanner;
    StoredScanOptions scanOptions{settings};
    // What a scan, and the memory shield, work with.
    const ScanEnvironment scanEnvironment;
    ScanEngine scanEngine;
    // The scan page and the results page as a scan fills them.
    ResultsPresenter presenter;
    ScanController controller;
    // The vendor's key the build names, which the definition updates and
    // the translation download are checked against.
    DefinitionTrust trust;
    // The definition update behind the update commands, the greeting and
    // the automatic update.
    UpdateFlow updates;
    // The removal of ticked results; also what a scheduled scan with
    // automatic removal runs (the controller's removeTicked).
    RemovalEngine removalEngine;
    RemovalCommands removal;
    // The background guards, each on its timer of the main window, and the
    // alerts they ask the user with.
    AlertWindows alerts;
    MemoryShield memoryShield;
    HomePageShield homePageShield;
    // Watches the folders where new files land; checks them on
    // tmrFileShield while something waits.
    FileShield fileShield;
    Scheduler scheduler;
    SchedulePage schedulePage;
    // The file name and false-positive reports of the main window.
    FeedbackPage feedback;

    // Offers to start the program again with administrator rights, for the
    // running programs named that only they may stop (the window's side
    // sets it; the console scanner has none).
    std::function<void(const std::vector<std::string>& fileNames)> offerElevatedRestart;
    // Lines the scan report adds after the scan's times (a run on trusted
    // definitions names the kept updates it skipped).
    std::function<std::vector<std::string>()> reportNotes;

private:
    // The automatic removal after the last scan, for its report; empty
    // when none ran.
    RemovalReport automaticRemoval_;
};

}  // namespace bastion
