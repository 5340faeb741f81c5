#include "cli/ConsoleScan.h"

#include "app/App.h"
#include "cli/ConsoleDialogs.h"
#include "cli/ConsoleEventPump.h"
#include "cli/ProgressLine.h"
#include "common/Text.h"
#include "platform/FileSystem.h"
#include "removal/RemovalMessages.h"
#include "scan/state/ResultChecks.h"

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

bool IsStoppedProgramRow(const ui::ListItem& row) {
    return row.text == "Running Application" || row.text == "Running Process";
}

// A path given on the command line must name what the scan kind scans: a
// scan of nothing would pass for a clean one. A wildcard names no one file
// or folder (the system's look-up would find one of several, and the scan
// would examine the pattern itself).
std::string CheckPath(const Arguments& arguments, platform::FileSystem& files) {
    const bool namesOne = arguments.kind == ui::kFileScan || arguments.kind == ui::kFolderScan;
    if (namesOne && arguments.path.find_first_of("*?") != std::string::npos) {
        return "wildcards are not accepted, give one file or folder: " + arguments.path;
    }
    if (arguments.kind == ui::kFileScan) {
        std::optional<platform::DirEntry> entry = files.Lookup(arguments.path);
        if (!entry || (entry->attributes & platform::kAttrDirectory) != 0) {
            return "no such file: " + arguments.path;
        }
    } else if (arguments.kind == ui::kFolderScan && !files.FolderExists(arguments.path)) {
        return "no such folder: " + arguments.path;
    }
    return {};
}

void WriteSummary(App& app, const std::vector<std::string>& detections, ConsoleOutput& output) {
    for (const std::string& line : detections) {
        output.Out(line + "\n");
    }
    const ui::FrmMain& form = app.form;
    output.Out("\nProcesses inspected: " + form.lblMemoryInspected.Caption() + "\n");
    output.Out("Registry entries inspected: " + form.lblRegistryInspected.Caption() + "\n");
    output.Out("Files/Folders inspected: " + form.lblFilesFolderInspected.Caption() + "\n");
    // Files of a size a content definition has that could not be opened
    // (locked by another program, access denied): not looked at.
    if (const std::int32_t unreadable = app.state.counters.contentUnreadable; unreadable > 0) {
        output.Out("Files that could not be read: " + ToDecimal(unreadable) + "\n");
    }
    // Cloud files that are not on this machine: reading them would have
    // downloaded them.
    if (const std::int32_t elsewhere = app.state.counters.contentElsewhere; elsewhere > 0) {
        output.Out("Files not read because their content is not on this computer: " + ToDecimal(elsewhere) + "\n");
    }
    // Lines of the content definitions that are none (the empty file
    // among them).
    if (const std::size_t rejected = app.tables.Content().Rejected(); rejected > 0) {
        output.Out("Content definition lines left out: " + ToDecimal(static_cast<long long>(rejected)) + "\n");
    }
    output.Out("Detections: " + ToDecimal(static_cast<long long>(detections.size())) + "\n");
    output.Out(form.lblStatus.Caption() + "\n");
}

}  // namespace

int ExitStatus(ScanOutcome outcome, bool threatsFound) {
    if (outcome != ScanOutcome::Completed) return kExitError;
    return threatsFound ? kExitThreatsFound : kExitNothingFound;
}

std::vector<std::string> DetectionLines(const ScanState& state) {
    std::vector<std::string> lines;
    const ui::ListView& results = state.ResultsList();
    for (std::size_t row = 0; row < results.Count(); ++row) {
        lines.push_back(Field(results.Item(row).text) + "\t" + Field(results.SubItem(row, 1)) + "\t" +
                        Field(results.SubItem(row, 2)) + "\t" + Field(results.SubItem(row, 3)));
    }
    const ui::ListView& activity = state.ActivityList();
    for (std::size_t row = 0; row < activity.Count(); ++row) {
        if (!IsStoppedProgramRow(activity.Item(row))) continue;
        lines.push_back(Field(activity.Item(row).text) + "\t" + Field(activity.SubItem(row, 1)) + "\t\t");
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
    if (arguments.kind == ui::kFileScan) dialogs.chosenFile = arguments.path;
    if (arguments.kind == ui::kFolderScan) dialogs.chosenFolder = arguments.path;
    ConsoleEventPump pump(interrupted);
    App app(platform, dialogs, pump, identity);
    app.scanOptions.overrides = arguments.overrides;
    app.InstallStarterDefinitions();
    app.LoadScanData();
    // Listening from here on: a press while the data loaded stops the scan
    // at its first look, not before the scan clears the stop flag.
    pump.onInterrupt = [&app] { app.state.RequestStop(); };
    pump.onRedraw = [&] { progress.Show(ProgressText(app.form, app.state.PhaseCaption(), output.ErrWidth())); };

    app.form.optScan[arguments.kind].SetValue(true);

    const ScanOutcome outcome = app.controller.cmdScanNow_Click();
    progress.Clear();
    if (outcome != ScanOutcome::Completed && outcome != ScanOutcome::Cancelled) {
        return kExitError;
    }
    const std::vector<std::string> detections = DetectionLines(app.state);
    WriteSummary(app, detections, output);
    // A threat still running is no clean result, whatever else happened.
    const bool runningThreatLeft = !app.processScanner.NotStopped().empty();
    if (runningThreatLeft) output.Err("bastion-scan: a running threat could not be stopped\n");
    if (!arguments.remove || outcome != ScanOutcome::Completed || detections.empty()) {
        return runningThreatLeft ? kExitError : ExitStatus(outcome, !detections.empty());
    }
    // As after a scheduled scan with automatic removal: everything ticked,
    // nothing asked.
    cmdSelectAll_Click(app.state);
    const RemovalReport report = app.removal.RemoveUnattended();
    bool allRemoved = report.ran;
    output.Out("\n");
    for (const RemovedItem& item : report.items) {
        allRemoved = allRemoved && item.result == RemovalResult::Removed;
        std::string line = std::string(RemovalResultWord(item.result)) + "\t" + Field(item.location);
        // Why a part of Windows was left, or set back rather than deleted.
        if (item.note != RemovalNote::None) line += "\t" + app.messages.getMessageContinuing(RemovalNoteKey(item.note));
        output.Out(line + "\n");
    }
    return allRemoved && !runningThreatLeft ? kExitThreatsFound : kExitError;
}

}  // namespace bastion::cli
