#include "cli/ConsoleScan.h"

#include "app/App.h"
#include "cli/ConsoleDialogs.h"
#include "cli/ConsoleEventPump.h"
#include "cli/ProgressLine.h"
#include "common/PathParts.h"
#include "common/Text.h"
#include "definitions/Exclusions.h"
#include "platform/FileSystem.h"
#include "removal/RemovalEngine.h"
#include "removal/RemovalMessages.h"
#include "report/ScanReport.h"
#include "scan/ScanEngine.h"
#include "scan/state/DefinitionCounts.h"
#include "scan/walk/Walker.h"
#include "services/messages/MessageKeys.h"
#include "update/StarterDefinitions.h"

namespace bastion::cli {

namespace {

// Fields hold no tab or line break, so that each detection stays one line
// of four fields.
std::string Field(std::string_view text) {
    std::string field(text);
    for (char& c : field) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return field;
}

// A path given on the command line must name what the scan kind scans: a
// scan of nothing would pass for a clean one. A wildcard names no one file
// or folder (the system's look-up would find one of several, and the scan
// would examine the pattern itself).
std::string CheckPath(const Arguments& arguments, platform::FileSystem& files) {
    const bool namesOne = arguments.kind == ScanKind::File || arguments.kind == ScanKind::Folder;
    if (namesOne && arguments.path.find_first_of("*?") != std::string::npos) {
        return "wildcards are not accepted, give one file or folder: " + arguments.path;
    }
    if (arguments.kind == ScanKind::File) {
        std::optional<platform::DirEntry> entry = files.Lookup(arguments.path);
        if (!entry || (entry->attributes & platform::kAttrDirectory) != 0) {
            return "no such file: " + arguments.path;
        }
    } else if (arguments.kind == ScanKind::Folder && !files.FolderExists(arguments.path)) {
        return "no such folder: " + arguments.path;
    }
    return {};
}

// The places the scan kind takes: the file or folder given, or for a Full
// System Scan the drives the program's drive list offers, as their ticks
// are stored.
std::vector<std::string> Places(const Arguments& arguments, platform::FileSystem& files,
                                const services::SettingsStore& settings) {
    if (arguments.kind == ScanKind::File || arguments.kind == ScanKind::Folder) return {arguments.path};
    std::vector<std::string> roots;
    if (arguments.kind == ScanKind::FullSystem) {
        for (const std::string& letter : ScannableDrives(files)) {
            if (StoredDriveTick(settings, letter)) roots.push_back(DriveRoot(letter));
        }
    }
    return roots;
}

// The console runs nothing in the background: an operation's hold on it
// changes nothing.
class NoBackgroundWork final : public services::BackgroundWork {
public:
    void Suspend() override {}
    void Resume() override {}
};

// Everything a console scan works with, made as the program makes it.
struct ConsoleEngine {
    ConsoleEngine(platform::Platform& platform, services::Dialogs& dialogs, services::EventPump& pump,
                  const services::Identity& identity)
        : platform(platform),
          identity(identity),
          messages(ProgramMessages(identity)),
          settings(platform.registry, identity.productName),
          dataFolder(PrepareDataFolder(platform.shell, platform.files)),
          services{platform, dialogs, pump, operations, messages, identity, settings, dataFolder, background},
          processScanner(dialogs, messages, identity.productName),
          scanner(ScanEnvironment{services, safety, exclusions, tables, state, processScanner}),
          removal(services) {}

    platform::Platform& platform;
    const services::Identity& identity;
    const services::MessageCatalogue messages;
    services::SettingsStore settings;
    const std::string dataFolder;
    services::OperationGate operations;
    NoBackgroundWork background;
    const services::Services services;
    ScanState state;
    DefinitionTables tables;
    SafetyList safety;
    ExclusionList exclusions;
    ProcessScanner processScanner;
    ScanEngine scanner;
    RemovalEngine removal;
};

std::string StatusText(ScanOutcome outcome, const services::MessageCatalogue& messages) {
    return messages.getMessages(outcome == ScanOutcome::Cancelled ? services::msg::kScanCancelled : services::msg::kScanCompleted);
}

void WriteSummary(const ConsoleEngine& engine, const ScanResults& results, const std::vector<std::string>& detections,
                  ConsoleOutput& output) {
    for (const std::string& line : detections) {
        output.Out(line + "\n");
    }
    const ScanCounters& counters = results.counters;
    const services::MessageCatalogue& messages = engine.messages;
    output.Out("\nProcesses inspected: " +
               CounterText(counters.processesInspected, results.skipped.processes, messages) + "\n");
    output.Out("Registry entries inspected: " +
               CounterText(counters.registryInspected, results.skipped.registry, messages) + "\n");
    output.Out("Files/Folders inspected: " + ToDecimal(counters.filesInspected) + "\n");
    // Files of a size a content definition has that could not be opened
    // (locked by another program, access denied): not looked at.
    if (counters.contentUnreadable > 0) {
        output.Out("Files that could not be read: " + ToDecimal(counters.contentUnreadable) + "\n");
    }
    // Cloud files that are not on this machine: reading them would have
    // downloaded them.
    if (counters.contentElsewhere > 0) {
        output.Out("Files not read because their content is not on this computer: " +
                   ToDecimal(counters.contentElsewhere) + "\n");
    }
    // Lines of the content definitions that are none (the empty file
    // among them).
    if (const std::size_t rejected = engine.tables.Content().Rejected(); rejected > 0) {
        output.Out("Content definition lines left out: " + ToDecimal(static_cast<long long>(rejected)) + "\n");
    }
    output.Out("Detections: " + ToDecimal(static_cast<long long>(detections.size())) + "\n");
    output.Out(StatusText(results.outcome, messages) + "\n");
}

// What the window would have said in a box about the definitions.
void TellDefinitionProblem(ScanOutcome outcome, services::Dialogs& dialogs, const ConsoleEngine& engine) {
    const std::string& title = engine.identity.productName;
    if (outcome == ScanOutcome::DefinitionsMissing) {
        dialogs.MessageBox(engine.messages.getMessages(services::msg::kMissing), title, services::MsgButtons::Ok,
                           services::MsgIcon::Information);
    } else if (outcome == ScanOutcome::DefinitionsUnreadable) {
        dialogs.MessageBox(engine.messages.getMessages(services::msg::kUnreadable), title, services::MsgButtons::Ok,
                           services::MsgIcon::Exclamation);
    }
}

// As after a scheduled scan with automatic removal: everything found,
// nothing asked; a scan that found only running programs has nothing to
// remove.
RemovalReport RemoveFound(ConsoleEngine& engine, const ScanResults& results) {
    std::vector<Detection> found;
    for (const Detection& detection : results.detections) {
        if (Removable(detection)) found.push_back(detection);
    }
    if (found.empty()) return {};
    RemovalProgress silent;
    return engine.removal.Remove(found, silent);
}

}  // namespace

int ExitStatus(ScanOutcome outcome, bool threatsFound) {
    if (outcome != ScanOutcome::Completed) return kExitError;
    return threatsFound ? kExitThreatsFound : kExitNothingFound;
}

std::vector<std::string> DetectionLines(const ScanResults& results) {
    std::vector<std::string> lines;
    for (const Detection& detection : results.detections) {
        if (!Removable(detection)) continue;
        lines.push_back(Field(ShownName(detection)) + "\t" + Field(detection.location) + "\t" +
                        Field(detection.type.name) + "\t" + Field(detection.type.risk));
    }
    for (const ActivityEntry& entry : results.activity) {
        if (entry.kind != ActivityKind::RunningProgram) continue;
        lines.push_back(Field(entry.name) + "\t" + Field(entry.details) + "\t\t");
    }
    return lines;
}

int RunConsoleScan(const Arguments& arguments, platform::Platform& platform, const services::Identity& identity,
                   ConsoleOutput& output, std::atomic<bool>& interrupted) {
    if (std::string problem = CheckPath(arguments, platform.files); !problem.empty()) {
        output.Err("bastion-scan: " + problem + "\n");
        return kExitError;
    }

    ProgressLine progress(output, arguments.forceProgress || output.ErrIsTerminal());
    ConsoleDialogs dialogs(output, progress);
    ConsoleEventPump pump(interrupted);
    ConsoleEngine engine(platform, dialogs, pump, identity);
    InstallStarterDefinitions(platform.files, FolderOfPath(platform.system.ProgramPath()), engine.dataFolder);
    CountDefinitions(platform.files, engine.dataFolder, engine.state);
    LoadExclusions(ExclusionFile{platform.files, platform.codePage, engine.dataFolder}, pump, engine.exclusions);
    StoredScanOptions options(engine.settings);
    options.overrides = arguments.overrides;
    const ScanRequest request{arguments.kind.value_or(ScanKind::Smart),
                              Places(arguments, platform.files, engine.settings), options.Current()};

    // Listening from here on: a press while the data loaded stops the scan
    // at its first look.
    ConsoleScanProgress shown;
    pump.onInterrupt = [&engine] { engine.scanner.RequestStop(); };
    pump.onRedraw = [&] { progress.Show(ProgressText(shown.View(), output.ErrWidth())); };
    const ScanResults results = engine.scanner.Scan(request, shown);
    progress.Clear();
    TellDefinitionProblem(results.outcome, dialogs, engine);
    if (request.options.makeLog) {
        MakeReport({platform.files, platform.codePage, engine.dataFolder, identity, engine.messages, results});
    }
    if (results.outcome != ScanOutcome::Completed && results.outcome != ScanOutcome::Cancelled) {
        return kExitError;
    }
    const std::vector<std::string> detections = DetectionLines(results);
    WriteSummary(engine, results, detections, output);
    // A threat still running is no clean result, whatever else happened.
    const bool runningThreatLeft = !results.notStopped.empty();
    if (runningThreatLeft) output.Err("bastion-scan: a running threat could not be stopped\n");
    if (!arguments.remove || results.outcome != ScanOutcome::Completed || detections.empty()) {
        return runningThreatLeft ? kExitError : ExitStatus(results.outcome, !detections.empty());
    }
    const RemovalReport report = RemoveFound(engine, results);
    bool allRemoved = report.ran;
    output.Out("\n");
    for (const RemovedItem& item : report.items) {
        allRemoved = allRemoved && item.result == RemovalResult::Removed;
        std::string line = std::string(RemovalResultWord(item.result)) + "\t" + Field(item.location);
        // Why a part of Windows was left, or set back rather than deleted.
        if (item.note != RemovalNote::None) {
            line += "\t" + engine.messages.getMessageContinuing(RemovalNoteKey(item.note));
        }
        output.Out(line + "\n");
    }
    return allRemoved && !runningThreatLeft ? kExitThreatsFound : kExitError;
}

}  // namespace bastion::cli
