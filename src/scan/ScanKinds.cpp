// The four scan kinds: each a fixed sequence of the individual scans.
#include "common/Text.h"
#include "definitions/DefinitionSet.h"
#include "scan/ScanEngine.h"
#include "scan/content/ContentScan.h"
#include "scan/cookies/MCookies.h"
#include "scan/files/DefinitionLoader.h"
#include "scan/files/KnownLocations.h"
#include "scan/registry/RegistryScan.h"
#include "scan/state/ScanPercent.h"
#include "scan/walk/FolderListers.h"
#include "scan/walk/Walker.h"
#include "services/messages/MessageKeys.h"

namespace bastion {

namespace {

constexpr std::string_view kHardDiskPhase = "Scanning your Hard Disk...";
constexpr std::string_view kScanComplete = "Scan Complete";

// The place a File or Folder Scan was given; "" when none.
std::string ChosenPlace(const ScanRequest& request) {
    if (request.places.empty() || Trim(request.places.front()).empty()) return {};
    return request.places.front();
}

}  // namespace

void ScanEngine::SetPhase(const std::string& message) {
    env_.state.SetPhase(message);
    env_.state.Progress().Phase(message);
}

// The definition set must be complete before anything is scanned; an
// incomplete one has been reset by the check, and the front end tells the
// user to update.
bool ScanEngine::PrepareKind() {
    if (!CheckDefinitionFiles(env_.files, env_.dataFolder)) return false;
    env_.state.Progress().Prepared();
    return true;
}

ScanOutcome ScanEngine::RunKind(ScanContext& context, const ScanRequest& request) {
    const ScanOptions& options = request.options;
    switch (request.kind) {
    case ScanKind::Smart:
        if (!PrepareKind()) return ScanOutcome::DefinitionsMissing;
        if (!LoadContentDefinitions(context)) return ScanOutcome::DefinitionsUnreadable;
        SmartScan(context, options);
        break;
    case ScanKind::FullSystem:
        // The set is checked before the tables are loaded: the tables load
        // once per run, and loading them from an incomplete set would keep
        // them empty until the program restarts.
        if (!PrepareKind()) return ScanOutcome::DefinitionsMissing;
        if (!LoadDefinitions(context)) return ScanOutcome::DefinitionsUnreadable;
        FullSystemScan(context, request);
        break;
    case ScanKind::File: {
        const std::string path = ChosenPlace(request);
        if (path.empty()) return ScanOutcome::NothingChosen;
        if (!PrepareKind()) return ScanOutcome::DefinitionsMissing;
        if (!LoadDefinitions(context)) return ScanOutcome::DefinitionsUnreadable;
        SetPhase("Scanning " + path + "...");
        ScanFile(context, path);
        break;
    }
    case ScanKind::Folder: {
        std::string folder = ChosenPlace(request);
        if (folder.empty()) return ScanOutcome::NothingChosen;
        if (folder.back() != '\\') folder += '\\';
        if (!PrepareKind()) return ScanOutcome::DefinitionsMissing;
        if (!LoadDefinitions(context)) return ScanOutcome::DefinitionsUnreadable;
        SetPhase("Scanning " + folder + "...");
        ScanFolder(context, folder, WalkThreads(options.walkThreads));
        env_.state.ShowCounters();
        break;
    }
    }
    env_.state.ShowProgress(kScanComplete, 100, 100);
    return ScanOutcome::Completed;
}

// Cookies, processes, registry, then the places the file and directory
// definitions name. A stop request ends the sequence before the next scan.
void ScanEngine::SmartScan(ScanContext& context, const ScanOptions& options) {
    ScanState& state = env_.state;
    if (options.scanCookies) {
        SetPhase(Message(services::msg::kCookies));
        ScanCookies(context, cookieFilesExamined_);
        state.Progress().Percentages(100, -1);
        state.Progress().Status(Message(services::msg::kCookiesFinished));
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

// The drives asked for, in order, then processes and registry.
void ScanEngine::FullSystemScan(ScanContext& context, const ScanRequest& request) {
    ScanState& state = env_.state;
    SetPhase(std::string(kHardDiskPhase));
    for (const std::string& root : request.places) {
        if (state.StopRequested()) break;
        ScanDrive(context, root, WalkThreads(request.options.walkThreads));
        env_.pump.Pump();
    }
    state.ShowCounters();
    if (state.StopRequested()) return;
    ProcessPhase(context, request.options);
    if (state.StopRequested()) return;
    RegistryPhase(context, request.options);
}

void ScanEngine::ProcessPhase(ScanContext& context, const ScanOptions& options) {
    ScanState& state = env_.state;
    if (!options.sweepMemory) {
        state.skipped.processes = true;
        state.Progress().Skipped(ScanPhase::Processes);
        return;
    }
    SetPhase(Message(services::msg::kMemory));
    env_.processScanner.ScanRunningProcesses(context, ProcessScanCaller::Scan);
}

void ScanEngine::RegistryPhase(ScanContext& context, const ScanOptions& options) {
    ScanState& state = env_.state;
    if (!options.scanRegistry) {
        state.skipped.registry = true;
        state.Progress().Skipped(ScanPhase::Registry);
        return;
    }
    state.Progress().Percentages(
        0, Percent(state.definitions.cookies, static_cast<long long>(state.definitions.total) - state.definitions.content));
    SetPhase(Message(services::msg::kRegistry));
    ScanRegistryDefinitions(context);
}

}  // namespace bastion
