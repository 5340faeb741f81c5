#include "app/ScanController.h"

#include <initializer_list>
#include <optional>

#include "app/DriveList.h"
#include "common/Text.h"
#include "platform/SystemPrograms.h"
#include "services/messages/GuardMessages.h"
#include "services/messages/MessageKeys.h"

namespace bastion {

namespace {

constexpr std::string_view kChooseFileTitle = "Choose a file to scan";
constexpr std::string_view kAllFilesFilter = "All Files (*.*)|*.*";
constexpr std::string_view kChooseFolderTitle = "Choose a folder to scan";

template <typename Hook, typename... Args>
void Call(const Hook& hook, Args&&... args) {
    if (hook) {
        hook(std::forward<Args>(args)...);
    }
}

// A detected program must never be started by looking at it: files are
// shown selected in their folder, folders are opened.
std::string ExplorerCommand(platform::Shell& shell, const Detection& detection) {
    const std::string location = platform::QuotedPath(detection.location);
    if (detection.kind == DetectionKind::File || detection.kind == DetectionKind::Cookie) {
        return platform::SystemProgramCommand(shell, platform::kExplorer, "/select," + location);
    }
    return platform::SystemProgramCommand(shell, platform::kExplorer, location);
}

}  // namespace

std::optional<ScanKind> SelectedScanKind(const ui::FrmMain& form) {
    if (form.optScan[ui::kSmartScan].Value()) return ScanKind::Smart;
    if (form.optScan[ui::kFullSystemScan].Value()) return ScanKind::FullSystem;
    if (form.optScan[ui::kFileScan].Value()) return ScanKind::File;
    if (form.optScan[ui::kFolderScan].Value()) return ScanKind::Folder;
    return std::nullopt;
}

int ScanKindPosition(ScanKind kind) {
    switch (kind) {
    case ScanKind::Smart: return ui::kSmartScan;
    case ScanKind::FullSystem: return ui::kFullSystemScan;
    case ScanKind::File: return ui::kFileScan;
    case ScanKind::Folder: break;
    }
    return ui::kFolderScan;
}

ScanController::ScanController(const ScanPageEnvironment& environment, const ScanOptionSource& options,
                               ScanHooks hooks)
    : env_(environment), options_(options), hooks_(std::move(hooks)) {}

std::string ScanController::Message(std::string_view key) const { return env_.messages.getMessages(key); }

ScanRequest ScanController::Request(const ScanOptions& options) {
    const std::optional<ScanKind> kind = SelectedScanKind(env_.form);
    // No kind selected asks for a file that nobody chose: nothing is
    // scanned, and the scan closes as after any other.
    ScanRequest request{kind.value_or(ScanKind::File), {}, options};
    if (!kind) return request;
    std::optional<std::string> place;
    switch (request.kind) {
    case ScanKind::File:
        place = env_.dialogs.OpenFile(std::string(kChooseFileTitle), std::string(kAllFilesFilter));
        break;
    case ScanKind::Folder: place = env_.dialogs.BrowseFolder(std::string(kChooseFolderTitle)); break;
    case ScanKind::FullSystem:
        // A drive attached since the program started is walked too; one
        // attached or ticked while the walk runs waits for the next scan.
        RefreshDriveList(env_.files, env_.form.lvwHardDrives, env_.settings);
        request.places = TickedDriveRoots(env_.form.lvwHardDrives);
        break;
    case ScanKind::Smart: break;
    }
    if (place) request.places.push_back(std::move(*place));
    return request;
}

ScanOutcome ScanController::cmdScanNow_Click() {
    ScanEngine& engine = env_.engine;
    // An exit while the scan runs asks it to stop at its next test of the
    // flag; the program ends once the scan has closed.
    services::OperationGate::Operation operation = env_.operations.TryBegin("scan", [&engine] { engine.RequestStop(); });
    if (!operation) {
        return ScanOutcome::AlreadyRunning;
    }
    running_ = true;
    ui::FrmMain& form = env_.form;

    form.tmrScroll.SetEnabled(false);
    Call(hooks_.clearRemovalProblems);
    ui::SetEnabled({&form.cmdRemove, &form.cmdResults, &form.cmdSettings}, false);
    std::optional<services::TimersHeld> held(std::in_place, env_.background);
    ui::SetEnabled({&form.cmdScanNow, &form.cmdScan, &form.cmdLog, &form.cmdUpdate, &form.cmdStatus}, false);
    ui::SetEnabled({&form.cmdStop, &form.cmdPause}, true);
    env_.presenter.Begun();
    // A stopped scan leaves the flag set; this one starts afresh.
    engine.ClearStop();

    const ScanOptions options = options_.Current();
    const ScanRequest request = Request(options);
    ScanResults results = engine.Scan(request, env_.presenter);
    const ScanOutcome outcome = results.outcome;
    times_ = {results.started, results.finished, unattended_, autoDelete_};
    env_.presenter.Show(std::move(results));
    TellDefinitionProblem(outcome);
    // Nothing to remove needs no removal (and no box for a user who may not
    // be there).
    const bool removeAfter = outcome == ScanOutcome::Completed && autoDelete_ && !engine.StopRequested() &&
                             !form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.Empty();
    CloseScan(outcome, options, !removeAfter, held);
    running_ = false;
    operation.Finish();
    if (removeAfter) {
        RemoveAutomatically();
        if (options.makeLog) Call(hooks_.makeReport);
    }
    // Nobody may be at the machine for a scheduled scan: its rows say it.
    const std::vector<ProgramNotStopped>& stillRunning = env_.presenter.Results().notStopped;
    if (!unattended_ && !stillRunning.empty()) Call(hooks_.programsNotStopped, stillRunning);
    return outcome;
}

void ScanController::TellDefinitionProblem(ScanOutcome outcome) {
    if (outcome == ScanOutcome::DefinitionsMissing) {
        // The set was found incomplete and reset.
        env_.form.lblDefVersion.SetCaption(Message(services::msg::kMissingFiles));
        if (!unattended_) {
            env_.dialogs.MessageBox(Message(services::msg::kMissing), env_.identity.productName, services::MsgButtons::Ok,
                                    services::MsgIcon::Information);
        }
    } else if (outcome == ScanOutcome::DefinitionsUnreadable && !unattended_) {
        env_.dialogs.MessageBox(Message(services::msg::kUnreadable), env_.identity.productName, services::MsgButtons::Ok,
                                services::MsgIcon::Exclamation);
    }
}

void ScanController::RemoveAutomatically() {
    Call(hooks_.showResultsPage);
    env_.presenter.SelectAll();
    Call(hooks_.removeTicked);
}

void ScanController::CloseScan(ScanOutcome outcome, const ScanOptions& options, bool reportNow,
                               std::optional<services::TimersHeld>& held) {
    ui::FrmMain& form = env_.form;
    ui::SetEnabled({&form.cmdRemove, &form.cmdResults, &form.cmdSettings}, true);

    if (env_.engine.StopRequested()) {
        form.lblStatus.SetCaption(Message(services::msg::kScanCancelled));
        form.lblPercentageCompleted.SetCaption("0% " + Message(services::msg::kCompleted));
        form.pbgMain.SetValue(0);
    } else {
        form.lblStatus.SetCaption(Message(services::msg::kScanCompleted));
        form.pb1.SetValue(100);
        form.pb2.SetValue(100);
    }

    ui::SetEnabled({&form.cmdScan, &form.cmdScanNow, &form.cmdLog, &form.cmdUpdate, &form.cmdStatus}, true);
    ui::SetEnabled({&form.cmdStop, &form.cmdPause}, false);
    held.reset();
    form.tmrTimeOut.SetEnabled(true);

    Call(hooks_.refreshStatusPage);
    // The home page keeps saying that the set is incomplete until an update
    // brings the definitions back.
    if (outcome == ScanOutcome::DefinitionsMissing) {
        form.lblDefVersion.SetCaption(Message(services::msg::kMissingFiles));
        // The box an attended scan shows.
        if (unattended_) form.lblStatus.SetCaption(Message(services::msg::kMissing));
    }
    if (outcome == ScanOutcome::DefinitionsUnreadable) form.lblStatus.SetCaption(Message(services::msg::kUnreadable));
    env_.presenter.Counted(env_.presenter.Results().counters);
    if (options.makeLog && reportNow) {
        Call(hooks_.makeReport);
    }
}

void ScanController::lblStart_Click() {
    if (env_.form.cmdScanNow.Enabled() && !env_.operations.RefusesCommand()) {
        Call(hooks_.showScanPage);
        cmdScanNow_Click();
    }
}

ScanOutcome ScanController::StartScanOfKind(int kind) {
    // While another operation runs the page and the chosen kind stay as
    // they are.
    if (env_.operations.RefusesCommand()) return ScanOutcome::AlreadyRunning;
    Call(hooks_.showScanPage);
    env_.form.optScan[static_cast<std::size_t>(kind)].SetValue(true);
    return cmdScanNow_Click();
}

ScanOutcome ScanController::RunScheduled(const ScheduledScan& scheduled) {
    struct Attended {
        ScanController& controller;
        ~Attended() {
            controller.SetUnattended(false);
            controller.SetAutoDelete(false);
        }
    } restore{*this};
    SetAutoDelete(scheduled.removeFound);
    SetUnattended(true);
    return StartScanOfKind(ScanKindPosition(scheduled.kind));
}

void ScanController::Pause() {
    ui::FrmMain& form = env_.form;
    ui::SetEnabled({&form.cmdPause, &form.cmdStop}, false);
    // The walk's listing threads are held too, not only the window's thread
    // that waits in the message box.
    env_.state.SetPaused(true);
    env_.dialogs.MessageBox(Message(services::msg::kPaused), env_.identity.productName, services::MsgButtons::Ok,
                            services::MsgIcon::Information);
    env_.state.SetPaused(false);
    ui::SetEnabled({&form.cmdPause, &form.cmdStop}, true);
}

void ScanController::cmdPause_Click() { Pause(); }

// The skin's labels stay clickable whatever the buttons show: they act only
// while their button could be pressed, so that no Pause or Stop outside a
// scan (or while the definitions load) enables buttons that belong to one.
void ScanController::lblPause_Click() {
    if (env_.form.cmdPause.Enabled()) {
        Pause();
    }
}

void ScanController::Stop(std::string_view questionKey) {
    services::MsgResult answer = env_.dialogs.MessageBox(Message(questionKey), env_.identity.productName,
                                                   services::MsgButtons::YesNo, services::MsgIcon::Question);
    if (answer == services::MsgResult::Yes) {
        env_.engine.RequestStop();
    }
}

void ScanController::cmdStop_Click() { Stop(services::msg::kStop); }

void ScanController::lblStop_Click() {
    if (env_.form.cmdStop.Enabled()) {
        Stop(services::msg::kSure);
    }
}

void ScanController::lvwSpywareFound_ColumnClick(int column) {
    ui::ListView& list = env_.form.lvwSpywareFound;
    if (column < 0 || static_cast<std::size_t>(column) >= list.Columns().size()) {
        // What the list answers to a column it does not have: "Invalid
        // property value".
        env_.dialogs.MessageBox("Error in Function : EnhListView_SortColumns 380", env_.identity.productName,
                                services::MsgButtons::Ok, services::MsgIcon::Critical);
        return;
    }
    // Sorting switched on shows the rising order first; every later click
    // turns the order.
    list.Sort(column, list.Sorted() ? !list.SortAscending() : true);
}

void ScanController::cmdBrowse_Click() {
    int opened = 0;
    for (const Detection& detection : env_.presenter.Ticked()) {
        env_.shell.StartProgram(ExplorerCommand(env_.shell, detection), platform::ShowWindow::Minimized);
        ++opened;
        if (opened == 6) {
            services::MsgResult answer =
                env_.dialogs.MessageBox(Message(services::msg::kBrowseMany), env_.identity.productName,
                                        services::MsgButtons::OkCancel, services::MsgIcon::Question);
            if (answer == services::MsgResult::Cancel) {
                return;
            }
        }
    }
}

}  // namespace bastion
