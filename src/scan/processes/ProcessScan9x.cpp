// The process scan on the Windows 95 family: snapshot names compared with
// the names of the definition lines, which are read once per run of the
// program.
#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "definitions/DefinitionFile.h"
#include "definitions/Exclusions.h"
#include "scan/files/CompanyName.h"
#include "scan/processes/ProcessScanner.h"
#include "scan/processes/ProcessScanSteps.h"
#include "services/messages/GuardMessages.h"
#include "services/messages/MessageKeys.h"

namespace bastion {

namespace {

// The definition's file name: the line up to its first "=".
std::string DefinitionName(const std::string& line) {
    return ToUpper(Trim(std::string_view(line).substr(0, line.find('='))));
}

// The snapshot names the program by its full path. The facility hands over
// the name without the terminator of its fixed buffer, so nothing more is
// cut from its end.
std::string SnapshotPath(const std::string& exeFile) {
    return Trim(std::string_view(exeFile).substr(0, exeFile.find('\0')));
}

std::string SnapshotName(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    return ToUpper(Trim(slash == std::string::npos ? path : path.substr(slash + 1)));
}

bool IsDefined(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& defined : names) {
        if (defined == name) return true;
    }
    return false;
}

// Opened with terminate access, the process is ended with the exit code it
// reports.
platform::TerminateResult Stop9xProcess(platform::Processes& processes, std::uint32_t processId) {
    return processes.Terminate(processId, processes.ExitCode(processId).value_or(0));
}

}  // namespace

bool ProcessScanner::Load9xDefinitions(ScanContext& context, ProcessScanCaller caller) {
    ScanState& state = context.state;
    if (definitions9x_) {
        if (caller == ProcessScanCaller::Scan) {
            for (std::size_t line = 0; line < definitions9x_->size(); ++line) {
                CountOne(state.counters.processesInspected);
            }
        }
        return true;
    }
    if (!DataFileExists(context.files, context.dataFolder, datafile::kExeDefinitions)) return false;

    std::vector<std::string> names;
    bool stopped = false;
    const bool read =
        ReadDefinitionLines(context.files, context.codePage,
                            DataFilePath(context.dataFolder, datafile::kExeDefinitions), [&](const std::string& line) {
                                names.push_back(DefinitionName(line));
                                CountProcessInspected(context, names.back(), caller);
                                context.pump.Pump();
                                stopped = StopRequestedInScan(state, caller);
                                return !stopped;
                            });
    // Only a complete text is kept for the rest of the run; a stopped or
    // failed read starts over next time.
    if (stopped || !read) return false;
    definitions9x_ = std::move(names);
    return true;
}

void ProcessScanner::ScanProcesses9x(ScanContext& context, ProcessScanCaller caller) {
    if (!Load9xDefinitions(context, caller)) return;
    const std::optional<std::vector<platform::ProcessEntry>> snapshot = context.processes.Snapshot();
    if (!snapshot) return;

    ScanState& state = context.state;
    const bool forScan = caller == ProcessScanCaller::Scan;
    for (const platform::ProcessEntry& entry : *snapshot) {
        const std::string path = SnapshotPath(entry.exeFile);
        const std::string name = SnapshotName(path);
        CountProcessInspected(context, name, caller);
        context.pump.Pump();
        if (forScan) state.SetRunningPrograms(state.counters.runningPrograms + 1);
        if (StopRequestedInScan(state, caller)) return;
        if (name.empty() || !IsDefined(*definitions9x_, name)) continue;

        if (IsTrustedProcessCompany(GetFileCompanyName(context.files, context.codePage, path), false)) continue;
        if (context.exclusions.IsExcluded(name)) {
            if (forScan) state.AddExcluded(name);
            continue;
        }
        Report9xThreat(context, name, path, entry.id, caller);
    }
}

void ProcessScanner::Report9xThreat(ScanContext& context, const std::string& name, const std::string& path,
                                    std::uint32_t processId, ProcessScanCaller caller) {
    ScanState& state = context.state;
    if (caller == ProcessScanCaller::Scan) {
        // The entry tells what happened: written once the stop was tried.
        const bool stopped = Stop9xProcess(context.processes, processId) == platform::TerminateResult::Terminated;
        if (!stopped) notStopped_.push_back({name, false});
        ReportStoppedProgram(state, "Running Process",
                             stopped ? name + " was stopped"
                                     : name + " " + messages_.getMessageContinuing(services::msg::kNotStopped),
                             ProcessItem{path, processId, stopped}, name);
        return;
    }
    const std::string text = messages_.getMessages(services::msg::kFound1) + name +
                             messages_.getMessages(services::msg::kFound2) + name +
                             messages_.getMessages(services::msg::kFound3);
    if (dialogs_.MessageBox(text, productName_ + "  - Alert", services::MsgButtons::YesNo,
                            services::MsgIcon::Question) == services::MsgResult::Yes) {
        Stop9xProcess(context.processes, processId);
        return;
    }
    // The list in memory is not reloaded here: it follows the file at the
    // next load or addition.
    AppendExclusion(ExclusionFile{context.files, context.codePage, context.dataFolder}, name);
}

}  // namespace bastion
