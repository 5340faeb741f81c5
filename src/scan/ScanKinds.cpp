// The four scan kinds: each a fixed sequence of the individual scans.
#include "common/Text.h"
#include "definitions/DefinitionSet.h"
#include "scan/content/ContentScan.h"
#include "scan/files/DefinitionLoader.h"
#include "scan/files/KnownLocations.h"
#include "scan/cookies/MCookies.h"
#include "scan/registry/RegistryScan.h"
#include "scan/ScanController.h"
#include "scan/state/ScanPercent.h"
#include "scan/state/ScanProgress.h"
#include "scan/walk/Walker.h"
#include "services/messages/MessageKeys.h"

namespace bastion {

namespace {

constexpr std::string_view kHardDiskPhase = "Scanning your Hard Disk...";
constexpr std::string_view kScanComplete = "Scan Complete";
constexpr std::string_view kChooseFileTitle = "Choose a file to scan";
constexpr std::string_view kAllFilesFilter = "All Files (*.*)|*.*";
constexpr std::string_view kChooseFolderTitle = "Choose a folder to scan";

void ResetBar(ui::ProgressBar& bar) {
    bar.SetMax(100);
    bar.SetValue(0);
}

}  // namespace

void ScanController::SetPhase(const std::string& message) {
    env_.state.Form().lblPercentageCompleted.SetCaption(message);
    env_.state.SetPhase(message);
}

// The definition set must be complete before anything is scanned; an
// incomplete one has been reset by the check and the user is told to
// update.
bool ScanController::PrepareKind() {
    ui::FrmMain& form = env_.state.Form();
    if (!CheckDefinitionFiles(env_.files, env_.dataFolder, env_.messages, form.lblDefVersion)) {
        if (unattended_) return false;
        env_.dialogs.MessageBox(Message(services::msg::kMissing), env_.identity.productName, services::MsgButtons::Ok,
                                services::MsgIcon::Information);
        return false;
    }
    form.pbgMain.SetVisible(false);
    ResetBar(form.pbgMain);
    ResetBar(form.pb1);
    ResetBar(form.pb2);
    return true;
}

ScanOutcome ScanController::DefinitionsUnreadable() {
    if (!unattended_) {
        env_.dialogs.MessageBox(Message(services::msg::kUnreadable), env_.identity.productName,
                                services::MsgButtons::Ok, services::MsgIcon::Exclamation);
    }
    return ScanOutcome::DefinitionsUnreadable;
}

void ScanController::FinishKind() { ShowScanProgress(env_.state, kScanComplete, 100, 100); }

ScanOutcome ScanController::RunSelectedKind(ScanContext& context, const ScanOptions& options) {
    ui::FrmMain& form = env_.state.Form();
    if (form.optScan[ui::kSmartScan].Value()) {
        if (!PrepareKind()) return ScanOutcome::DefinitionsMissing;
        if (!LoadContentDefinitions(context)) return DefinitionsUnreadable();
        SmartScan(context, options);
    } else if (form.optScan[ui::kFullSystemScan].Value()) {
        // The set is checked before the tables are loaded: the tables load
        // once per run, and loading them from an incomplete set would keep
        // them empty until the program restarts.
        if (!PrepareKind()) return ScanOutcome::DefinitionsMissing;
        if (!LoadDefinitions(context)) return DefinitionsUnreadable();
        FullSystemScan(context, options);
    } else if (form.optScan[ui::kFileScan].Value()) {
        std::optional<std::string> path =
            env_.dialogs.OpenFile(std::string(kChooseFileTitle), std::string(kAllFilesFilter));
        if (!path || Trim(*path).empty()) return ScanOutcome::NothingChosen;
        if (!PrepareKind()) return ScanOutcome::DefinitionsMissing;
        if (!LoadDefinitions(context)) return DefinitionsUnreadable();
        SetPhase("Scanning " + *path + "...");
        ScanFile(context, *path);
    } else if (form.optScan[ui::kFolderScan].Value()) {
        std::optional<std::string> folder = env_.dialogs.BrowseFolder(std::string(kChooseFolderTitle));
        if (!folder || Trim(*folder).empty()) return ScanOutcome::NothingChosen;
        if (folder->back() != '\\') *folder += '\\';
        if (!PrepareKind()) return ScanOutcome::DefinitionsMissing;
        if (!LoadDefinitions(context)) return DefinitionsUnreadable();
        SetPhase("Scanning " + *folder + "...");
        ScanFolder(context, *folder);
        RefreshCounterLabels(env_.state);
    } else {
        return ScanOutcome::NothingChosen;
    }
    FinishKind();
    return ScanOutcome::Completed;
}

// Cookies, processes, registry, then the places the file and directory
// definitions name. A stop request ends the sequence before the next scan.
void ScanController::SmartScan(ScanContext& context, const ScanOptions& options) {
    ScanState& state = env_.state;
    if (options.scanCookies) {
        SetPhase(Message(services::msg::kCookies));
        ScanCookies(context, cookieFilesExamined_);
        state.Form().pb1.SetValue(100);
        state.Form().lblStatus.SetCaption(Message(services::msg::kCookiesFinished));
    }
    if (state.StopRequested()) return;
    ProcessPhase(context, options);
    if (state.StopRequested()) return;
    RegistryPhase(context, options);
    if (state.StopRequested()) return;
    SetPhase(Message(services::msg::kSpyware));
    ScanKnownFileLocations(context);
    if (state.StopRequested()) return;
    ScanKnownDirectoryLocations(context);
}

// The ticked drives of the drive list, in list order, then processes and
// registry. The list is brought up to date first: a drive attached since
// the program started is walked too.
void ScanController::FullSystemScan(ScanContext& context, const ScanOptions& options) {
    ScanState& state = env_.state;
    SetPhase(std::string(kHardDiskPhase));
    ui::ListView& drives = state.Form().lvwHardDrives;
    RefreshDriveList(env_.files, drives, env_.settings);
    // As ticked now: a drive attached or ticked while the walk runs waits
    // for the next scan.
    std::vector<std::string> ticked;
    for (const ui::ListItem& row : drives.Rows()) {
        if (row.checked) ticked.push_back(row.text);
    }
    for (const std::string& letter : ticked) {
        if (state.StopRequested()) break;
        ScanDrive(context, letter + ":\\");
        env_.pump.Pump();
    }
    RefreshCounterLabels(state);
    if (state.StopRequested()) return;
    ProcessPhase(context, options);
    if (state.StopRequested()) return;
    RegistryPhase(context, options);
}

void ScanController::ProcessPhase(ScanContext& context, const ScanOptions& options) {
    ScanState& state = env_.state;
    if (!options.sweepMemory) {
        state.skipped.processes = true;
        state.Form().lblMemoryInspected.SetCaption(Message(services::msg::kNotSelected));
        return;
    }
    SetPhase(Message(services::msg::kMemory));
    env_.processScanner.ScanRunningProcesses(context, ProcessScanCaller::Scan);
}

void ScanController::RegistryPhase(ScanContext& context, const ScanOptions& options) {
    ScanState& state = env_.state;
    if (!options.scanRegistry) {
        state.skipped.registry = true;
        state.Form().lblRegistryInspected.SetCaption(Message(services::msg::kNotSelected));
        return;
    }
    state.Form().pb1.SetValue(0);
    state.Form().pb2.SetValue(Percent(state.definitions.cookies,
                                      static_cast<long long>(state.definitions.total) - state.definitions.content));
    SetPhase(Message(services::msg::kRegistry));
    ScanRegistryDefinitions(context);
}

}  // namespace bastion
