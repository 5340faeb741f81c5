#include "app/App.h"

#include "app/DriveList.h"
#include "app/ExcludeCommand.h"
#include "app/pages/StatusPage.h"
#include "common/PathParts.h"
#include "definitions/DataFiles.h"
#include "definitions/Exclusions.h"
#include "definitions/PathTokens.h"
#include "removal/RemovalMessages.h"
#include "report/ScanReport.h"
#include "scan/state/DefinitionCounts.h"
#include "scheduler/ScheduledScan.h"
#include "services/messages/DefaultMessages.h"
#include "services/messages/GuardMessages.h"
#include "services/settings/SettingKeys.h"
#include "update/StarterDefinitions.h"

namespace bastion {

services::MessageCatalogue ProgramMessages(const services::Identity& identity) {
    services::MessageCatalogue catalogue(identity);
    services::FillDefaultMessages(catalogue);
    FillRemovalMessages(catalogue);
    services::FillGuardMessages(catalogue);
    return catalogue;
}

std::unique_ptr<TrustedDefinitionFiles> TrustedDefinitionsOf(platform::Platform& machine) {
    const std::string key = BuildDefinitionKey();
    if (key.empty()) return nullptr;
    return std::make_unique<TrustedDefinitionFiles>(machine.files, FolderOfPath(machine.system.ProgramPath()),
                                                    PrepareDataFolder(machine.shell, machine.files),
                                                    DefinitionTrust{&machine.crypto, key});
}

platform::Platform WithFiles(const platform::Platform& machine, platform::FileSystem& files) {
    return {machine.registry, files,         machine.shell,    machine.processes, machine.system, machine.internet,
            machine.restore,  machine.clock, machine.codePage, machine.instances, machine.crypto,
            machine.watcher};
}

std::vector<std::string> SkippedDeltaNotes(TrustedDefinitionFiles& trusted) {
    std::vector<std::string> notes;
    for (const std::string& name : trusted.Skipped()) {
        notes.push_back("the kept definition update " + name + " did not verify and was left out");
    }
    return notes;
}

std::string PrepareDataFolder(platform::Shell& shell, platform::FileSystem& files) {
    std::string folder = DataFolder(PathTokens::Resolve(shell));
    if (!folder.empty() && !files.FolderExists(folder)) {
        files.CreateFolder(folder);
    }
    return folder;
}

App::App(platform::Platform& platform, services::Dialogs& dialogs, services::EventPump& pump,
         services::Identity identity)
    : platform(platform),
      modalDialogs(dialogs, operations),
      pump(pump),
      identity(std::move(identity)),
      messages(ProgramMessages(this->identity)),
      languages(platform.files, FolderOfPath(platform.system.ProgramPath()), this->identity, messages),
      settings(platform.registry, this->identity.productName),
      dataFolder(PrepareDataFolder(platform.shell, platform.files)),
      services{platform, this->dialogs, pump, operations, messages, this->identity, settings, dataFolder,
               shieldTimers},
      processScanner(this->dialogs, messages, this->identity.productName),
      scanEnvironment{services, safety, exclusions, tables, state, processScanner},
      scanEngine(scanEnvironment),
      presenter(form, messages),
      controller(ScanPageEnvironment{services, form, scanEngine, presenter, state}, scanOptions),
      trust{&platform.crypto, BuildDefinitionKey()},
      updates(UpdateEnvironment{services, state, form, tables, trust}),
      removalEngine(services),
      removal(RemovalCommandsEnvironment{services, form, removalEngine, presenter}),
      alerts(services),
      memoryShield(scanEnvironment, alerts),
      homePageShield(HomePageShieldEnvironment{services, memoryShield, alerts}),
      fileShield(FileShieldEnvironment{scanEnvironment, platform.watcher, removalEngine, alerts}),
      scheduler(platform.clock, operations, [this] { RunScheduledScan(); }),
      schedulePage(SchedulePageEnvironment{services, form, shieldTimers, scheduler}),
      feedback(services, form) {
    BindShieldTimers(form, memoryShield, homePageShield);
    BindFileShieldTimer(form, fileShield);
    fileShield.onRemoved = [this] { RefreshHomePage(); };
    form.tmrScheduler.onTick = [this] {
        scheduler.CheckSchedule();
        updates.CheckFreshness(true);
    };
    scheduler.onMissed = [this](const DateTime& moment) { ScheduledScanMissed(moment); };
    // A command refused while a shield's alert waits says why.
    operations.tellAlertWaiting = [this] {
        this->dialogs.MessageBox(messages.getMessages(services::msg::kAlertWaiting), this->identity.productName,
                                 services::MsgButtons::Ok, services::MsgIcon::Information);
    };
    auto offerRestart = [this](const std::vector<std::string>& fileNames) {
        if (offerElevatedRestart) offerElevatedRestart(fileNames);
    };
    memoryShield.offerElevatedRestart = offerRestart;
    controller.Hooks().programsNotStopped = [offerRestart](const std::vector<ProgramNotStopped>& programs) {
        std::vector<std::string> needAdministrator;
        for (const ProgramNotStopped& program : programs) {
            if (program.needsAdministrator) needAdministrator.push_back(program.fileName);
        }
        if (!needAdministrator.empty()) offerRestart(needAdministrator);
    };
    controller.Hooks().makeReport = [this] { WriteReport(); };
    controller.Hooks().refreshStatusPage = [this] { RefreshHomePage(); };
    // A scan starts: no problem of an earlier removal is listed, and its
    // report tells of no earlier automatic removal.
    controller.Hooks().clearRemovalProblems = [this] {
        removal.deleteFailed.lstProblem.Clear();
        automaticRemoval_ = {};
    };
    // The report written after it shows every item found, with what became
    // of each.
    controller.Hooks().removeTicked = [this] { automaticRemoval_ = removal.RemoveUnattended(); };
    RemovalHooks& hooks = removal.Hooks();
    hooks.showResultsPage = [this] {
        if (controller.Hooks().showResultsPage) controller.Hooks().showResultsPage();
    };
    hooks.refreshStatusPage = [this] { RefreshHomePage(); };
    feedback.excludeTicked = [this] {
        const ExclusionFile file{this->platform.files, this->platform.codePage, dataFolder};
        ExcludeTicked(
            {presenter, form, this->dialogs, messages, this->identity.productName, file, exclusions, this->pump});
    };
}

void App::InstallStarterDefinitions() {
    bastion::InstallStarterDefinitions(platform.files, FolderOfPath(platform.system.ProgramPath()), dataFolder);
}

void App::LoadScanData() {
    CountDefinitions(platform.files, dataFolder, state);
    LoadExclusions(ExclusionFile{platform.files, platform.codePage, dataFolder}, pump, exclusions);
    FillDriveList(platform.files, form.lvwHardDrives);
    RestoreDriveTicks(form.lvwHardDrives, settings);
}

void App::RefreshHomePage() { RefreshStatusPage(services, form, state.definitions.total); }

void App::ScheduledScanMissed(const DateTime& moment) {
    settings.Write(services::settings::kScheduleMissed, FormatGeneralDate(moment));
    RefreshHomePage();
}

void App::RunScheduledScan() {
    settings.Write(services::settings::kScheduleMissed, "");
    RefreshHomePage();
    controller.RunScheduled(StoredScheduledScan(settings));
}

void App::RefreshDrives() { RefreshDriveList(platform.files, form.lvwHardDrives, settings); }

bool App::WriteReport() {
    const ScanTimes& times = controller.Times();
    return MakeReport({platform.files, platform.codePage, dataFolder, identity, messages, presenter.Results(),
                       times.scheduled, times.removeAutomatically, &automaticRemoval_,
                       reportNotes ? reportNotes() : std::vector<std::string>{}});
}

}  // namespace bastion
