#include "scan/processes/ProcessScanner.h"

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/DefinitionRecords.h"
#include "definitions/Exclusions.h"
#include "scan/content/ContentScan.h"
#include "scan/files/CompanyName.h"
#include "scan/processes/ExecutablePaths.h"
#include "scan/content/ContentVerdicts.h"
#include "scan/processes/ProcessList.h"
#include "scan/processes/ProcessScanSteps.h"
#include "scan/processes/WindowsProcesses.h"
#include "services/messages/GuardMessages.h"
#include "services/messages/MessageKeys.h"

namespace bastion {

namespace {


// Never reported on the NT family, whatever the definitions say.
constexpr std::string_view kAdwareProcessHelper = "AdwareProcessHelper.exe";

// The definitions with their folders. A stop inside a scan leaves the list
// empty and says so; so does a file that could not be opened or read to its
// end (the list is then what it could read).
bool ReadExecutablePaths(ScanContext& context, ExecutablePathList& paths, ProcessScanCaller caller) {
    bool stopped = false;
    const bool read =
        ReadDefinitionLines(context.files, context.codePage,
                            DataFilePath(context.dataFolder, datafile::kExeDefinitions), [&](const std::string& line) {
                                const ExeRecord record = ParseExeDefinition(line);
                                paths.Add(record, context.tokens);
                                CountProcessInspected(context, record.fileName, caller);
                                context.pump.Pump();
                                stopped = StopRequestedInScan(context.state, caller);
                                return !stopped;
                            });
    if (stopped) {
        paths.Clear();
        return false;
    }
    paths.Finish();
    return read;
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The activity entry's details: what became of the program.
std::string StopDetails(const services::MessageCatalogue& messages, const std::string& fileName, StopOutcome outcome) {
    switch (outcome) {
        case StopOutcome::Stopped: return fileName + " was stopped";
        case StopOutcome::NeedsAdministrator:
            return fileName + " " + messages.getMessageContinuing(services::msg::kNeedsAdministrator);
        case StopOutcome::PartOfWindows:
            return fileName + ": " + messages.getMessageContinuing(services::msg::kPartOfWindowsNotStopped);
        case StopOutcome::Failed: break;
    }
    return fileName + " " + messages.getMessageContinuing(services::msg::kNotStopped);
}

}  // namespace

ProcessScanner::ProcessScanner(services::Dialogs& dialogs, const services::MessageCatalogue& messages,
                               std::string productName)
    : dialogs_(dialogs), messages_(messages), productName_(std::move(productName)) {}

void ProcessScanner::ResetSignature() {
    processListSignature_.reset();
}

void ProcessScanner::ScanRunningProcesses(ScanContext& context, ProcessScanCaller caller) {
    notStopped_.clear();
    switch (context.system.GetOsVersion().platformId) {
        case platform::kWindowsNtFamily: ScanProcessesNT(context, caller); break;
        case platform::kWindows95Family: ScanProcesses9x(context, caller); break;
        default: break;
    }
}

void ProcessScanner::ScanProcessesNT(ScanContext& context, ProcessScanCaller caller) {
    ProcessList list;
    GetProcessList(context.processes, list, "", true);
    // The shield runs every 2 seconds: while no process has started or
    // ended since the last run, by whichever caller, there is nothing new.
    // The ids tell a program that was restarted under the same name (by a
    // watchdog, right after it was stopped) from the one that ended.
    if (processListSignature_ == list) return;
    processListSignature_ = list;

    ScanState& state = context.state;
    const std::string systemFolder = context.system.SystemFolder();
    ExecutablePathList read;
    const ExecutablePathList* kept = ExecutablePaths(context, caller, read);
    // An interrupted run has not inspected this list: the next one must.
    if (!kept) ResetSignature();
    const ExecutablePathList& paths = kept ? *kept : read;
    const bool forScan = caller == ProcessScanCaller::Scan;
    // A file that could not be read is read again at the next look.
    if (!LoadContentDefinitions(context, forScan)) ResetSignature();
    if (forScan) state.SetRunningPrograms(static_cast<std::int32_t>(list.Count()));
    // An image still being hashed is looked at again at the next tick, even
    // when no program started or ended meanwhile.
    bool hashesPending = false;

    for (std::size_t i = 0; i < list.Count(); ++i) {
        CountProcessInspected(context, list.names[i], caller);
        context.pump.Pump();
        if (StopRequestedInScan(state, caller)) {
            ResetSignature();
            return;
        }
        const std::string& imagePath = list.paths[i];
        if (imagePath.empty()) continue;
        const std::string path = ComparableProgramPath(context.files, imagePath, systemFolder);
        const std::string fileName = FileNameOf(path);
        const bool byName = paths.Matches(context.files, path, fileName);
        // The shield shows nothing of a program the user allowed: its image
        // is not even read.
        if (!forScan && context.exclusions.IsExcluded(fileName)) continue;
        if (!byName) {
            const ContentVerdicts::Verdict verdict = imageContent_.Look(context, path, !forScan).verdict;
            hashesPending = hashesPending || verdict == ContentVerdicts::Verdict::Pending;
            if (verdict != ContentVerdicts::Verdict::Known) continue;
        }

        const std::string company = GetFileCompanyName(context.files, context.codePage, path);
        // A trusted publisher clears a name, not a content a definition knows.
        if (byName && IsTrustedProcessCompany(company, true)) continue;
        if (context.exclusions.IsExcluded(fileName)) {
            if (forScan) state.AddExcluded(fileName);
            continue;
        }
        if (EqualsIgnoreCase(fileName, kAdwareProcessHelper)) continue;
        ReportRunningThreat(context, {fileName, company, list.ids[i], path}, caller);
    }
    imageContent_.ForgetUnseen();
    if (hashesPending) ResetSignature();
}

const ExecutablePathList* ProcessScanner::ExecutablePaths(ScanContext& context, ProcessScanCaller caller,
                                                          ExecutablePathList& read) {
    if (caller == ProcessScanCaller::Scan) return ReadExecutablePaths(context, read, caller) ? &read : nullptr;
    const std::string file = DataFilePath(context.dataFolder, datafile::kExeDefinitions);
    const std::optional<platform::FileStamp> stamp = context.files.Stamp(file);
    if (shieldPaths_ && stamp && shieldPaths_->file == file && shieldPaths_->stamp == *stamp) {
        return &shieldPaths_->paths;
    }
    // A file that is there but could not be read to its end (an update
    // holding it, a failing disk) is not kept as no definitions or some of
    // them: the programs running now are compared with what was kept
    // before, and looked at again next time, with what the file then says.
    if (!ReadExecutablePaths(context, read, caller) && stamp) {
        read = shieldPaths_ ? shieldPaths_->paths : ExecutablePathList{};
        return nullptr;
    }
    // Kept only when the stamp read before the file tells its content: a
    // file written meanwhile has a later one and is read again next time.
    if (!stamp) {
        shieldPaths_.reset();
        return &read;
    }
    shieldPaths_ = KeptPaths{file, *stamp, std::move(read)};
    return &shieldPaths_->paths;
}

void ProcessScanner::ReportRunningThreat(ScanContext& context, const RunningThreat& threat,
                                         ProcessScanCaller caller) {
    const std::string& fileName = threat.fileName;
    auto stop = [&] {
        const StopOutcome outcome =
            StopRunningProgram(context.processes, context.system, context.files, threat.processId, threat.path);
        if (outcome != StopOutcome::Stopped && outcome != StopOutcome::PartOfWindows) {
            notStopped_.push_back({fileName, outcome == StopOutcome::NeedsAdministrator});
        }
        return outcome;
    };
    if (caller == ProcessScanCaller::Scan) {
        // The entry tells what happened: written once the stop was tried.
        const StopOutcome outcome = stop();
        ReportStoppedProgram(context.state, "Running Application", StopDetails(messages_, fileName, outcome),
                             ProcessItem{threat.path, threat.processId, outcome == StopOutcome::Stopped}, fileName);
        return;
    }
    // A part of Windows is never offered for stopping.
    if (!alert_ || IsPartOfWindows(context.files, threat.path, context.system.SystemFolder())) return;
    const std::string company = Trim(threat.companyName).empty()
                                    ? messages_.getMessages(services::msg::kNoCompany) + " " + fileName
                                    : threat.companyName;
    switch (alert_(fileName, company, !context.processes.MayTerminate(threat.processId))) {
        case AlertAnswer::Stop: stop(); break;
        case AlertAnswer::Allow:
            AddExclusion(ExclusionFile{context.files, context.codePage, context.dataFolder}, context.pump,
                         context.exclusions, fileName);
            break;
        case AlertAnswer::NoAnswer:
            break;
    }
}

}  // namespace bastion
