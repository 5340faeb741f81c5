#include "scan/ScanController.h"

#include <initializer_list>
#include <optional>

#include "common/Text.h"
#include "definitions/PathTokens.h"
#include "definitions/SafetyListLoader.h"
#include "definitions/ThreatTypes.h"
#include "platform/SystemPrograms.h"
#include "scan/state/ResultChecks.h"
#include "scan/state/ScanProgress.h"
#include "services/messages/GuardMessages.h"
#include "services/messages/MessageKeys.h"
#include "services/operations/TimersHeld.h"
#include "services/settings/SettingKeys.h"

namespace bastion {

namespace {

void SetEnabled(std::initializer_list<ui::Control*> controls, bool enabled) {
    for (ui::Control* control : controls) {
        control->SetEnabled(enabled);
    }
}

template <typename Hook, typename... Args>
void Call(const Hook& hook, Args&&... args) {
    if (hook) {
        hook(std::forward<Args>(args)...);
    }
}

}  // namespace

ScanContext MakeScanContext(const ScanEnvironment& environment, const PathTokens& tokens) {
    return MakeScanContext(environment, tokens, environment.pump);
}

ScanContext MakeScanContext(const ScanEnvironment& environment, const PathTokens& tokens, services::EventPump& pump) {
    const ScanEnvironment& env = environment;
    return ScanContext{env.files,    env.codePage,   env.system, env.dataFolder, tokens,
                       env.safety,   env.exclusions, env.state,  pump,           env.tables,
                       env.registry, env.shell,      env.processes};
}

ScanController::ScanController(const ScanEnvironment& environment, const ScanOptionSource& options, ScanHooks hooks)
    : env_(environment), options_(options), hooks_(std::move(hooks)) {}

std::string ScanController::Message(std::string_view key) const { return env_.messages.getMessages(key); }

std::string ScanController::Now() const { return FormatGeneralDate(env_.clock.Now()); }

ScanOutcome ScanController::cmdScanNow_Click() {
    ScanState& state = env_.state;
    // An exit while the scan runs asks it to stop at its next test of the
    // flag; the program ends once the scan has closed.
    services::OperationGate::Operation operation = env_.operations.TryBegin("scan", [&state] { state.RequestStop(); });
    if (!operation) {
        return ScanOutcome::AlreadyRunning;
    }
    running_ = true;
    ui::FrmMain& form = state.Form();

    form.tmrScroll.SetEnabled(false);
    Call(hooks_.clearRemovalProblems);
    SetEnabled({&form.cmdRemove, &form.cmdResults, &form.cmdSettings}, false);
    std::optional<services::TimersHeld> held(std::in_place, env_.background);
    SetEnabled({&form.cmdScanNow, &form.cmdScan, &form.cmdLog, &form.cmdUpdate, &form.cmdStatus}, false);
    SetEnabled({&form.cmdStop, &form.cmdPause}, true);

    state.Reset();
    form.lblPercentageCompleted.SetCaption("0");
    form.lblStatus.SetCaption("0");
    cookieFilesExamined_ = 0;

    // A stopped scan leaves the flag set; this one starts afresh.
    state.ClearStop();
    times_ = {Now(), {}, unattended_, autoDelete_};
    // The memory shield's last look must not make this scan skip the
    // processes: inspect them all, whether or not any started or ended.
    env_.processScanner.ResetSignature();
    env_.processScanner.ClearNotStopped();

    // The folders the tokens stand for do not move while one scan runs.
    const PathTokens tokens = PathTokens::Resolve(env_.shell);
    const bool notStopped = false;
    LoadSafetyList(env_.files, env_.codePage, env_.dataFolder, tokens, notStopped, env_.safety);

    const ScanOptions options = options_.Current();
    const bool fullSystemScan = form.optScan[ui::kFullSystemScan].Value();
    ScanContext context = MakeScanContext(env_, tokens);
    ScanOutcome outcome = RunSelectedKind(context, options);
    // Nothing to remove needs no removal (and no box for a user who may not
    // be there).
    const bool removeAfter = outcome == ScanOutcome::Completed && autoDelete_ && !state.StopRequested() &&
                             !state.ResultsList().Empty();
    CloseScan(outcome, options, fullSystemScan, !removeAfter, held);
    running_ = false;
    operation.Finish();
    if (removeAfter) {
        RemoveAutomatically();
        if (options.makeLog) Call(hooks_.makeReport);
    }
    // Nobody may be at the machine for a scheduled scan: its rows say it.
    const std::vector<ProgramNotStopped>& stillRunning = env_.processScanner.NotStopped();
    if (!unattended_ && !stillRunning.empty()) Call(hooks_.programsNotStopped, stillRunning);
    return outcome;
}

void ScanController::RemoveAutomatically() {
    Call(hooks_.showResultsPage);
    cmdSelectAll_Click(env_.state);
    Call(hooks_.removeTicked);
}

void ScanController::CloseScan(ScanOutcome& outcome, const ScanOptions& options, bool fullSystemScan,
                               bool reportNow, std::optional<services::TimersHeld>& held) {
    ScanState& state = env_.state;
    ui::FrmMain& form = state.Form();

    times_.finished = Now();
    env_.settings.Write(services::settings::kLblLastScan, times_.finished);
    if (fullSystemScan) {
        env_.settings.Write(services::settings::kLblLastFullScan, times_.finished);
    }

    SetEnabled({&form.cmdRemove, &form.cmdResults, &form.cmdSettings}, true);

    if (state.StopRequested()) {
        form.lblStatus.SetCaption(Message(services::msg::kScanCancelled));
        form.lblPercentageCompleted.SetCaption("0% " + Message(services::msg::kCompleted));
        form.pbgMain.SetValue(0);
        if (outcome == ScanOutcome::Completed) {
            outcome = ScanOutcome::Cancelled;
        }
    } else {
        form.lblStatus.SetCaption(Message(services::msg::kScanCompleted));
        form.pb1.SetValue(100);
        form.pb2.SetValue(100);
    }

    SetEnabled({&form.cmdScan, &form.cmdScanNow, &form.cmdLog, &form.cmdUpdate, &form.cmdStatus}, true);
    SetEnabled({&form.cmdStop, &form.cmdPause}, false);
    held.reset();
    form.tmrTimeOut.SetEnabled(true);

    Call(hooks_.refreshStatusPage);
    // The set was found incomplete and reset: the home page keeps saying
    // so until an update brings the definitions back.
    if (outcome == ScanOutcome::DefinitionsMissing) {
        form.lblDefVersion.SetCaption(Message(services::msg::kMissingFiles));
        // The box an attended scan shows.
        if (unattended_) form.lblStatus.SetCaption(Message(services::msg::kMissing));
    }
    if (outcome == ScanOutcome::DefinitionsUnreadable) form.lblStatus.SetCaption(Message(services::msg::kUnreadable));
    RefreshCounterLabels(state);
    FillThreatRisks(state.ResultsList());
    if (options.makeLog && reportNow) {
        Call(hooks_.makeReport);
    }
}

void ScanController::lblStart_Click() {
    if (env_.state.Form().cmdScanNow.Enabled() && !env_.operations.RefusesCommand()) {
        Call(hooks_.showScanPage);
        cmdScanNow_Click();
    }
}

ScanOutcome ScanController::StartScanOfKind(int kind) {
    // While another operation runs the page and the chosen kind stay as
    // they are.
    if (env_.operations.RefusesCommand()) return ScanOutcome::AlreadyRunning;
    Call(hooks_.showScanPage);
    env_.state.Form().optScan[static_cast<std::size_t>(kind)].SetValue(true);
    return cmdScanNow_Click();
}

void ScanController::Pause() {
    ui::FrmMain& form = env_.state.Form();
    SetEnabled({&form.cmdPause, &form.cmdStop}, false);
    env_.dialogs.MessageBox(Message(services::msg::kPaused), env_.identity.productName, services::MsgButtons::Ok,
                            services::MsgIcon::Information);
    SetEnabled({&form.cmdPause, &form.cmdStop}, true);
}

void ScanController::cmdPause_Click() { Pause(); }

// The skin's labels stay clickable whatever the buttons show: they act only
// while their button could be pressed, so that no Pause or Stop outside a
// scan (or while the definitions load) enables buttons that belong to one.
void ScanController::lblPause_Click() {
    if (env_.state.Form().cmdPause.Enabled()) {
        Pause();
    }
}

void ScanController::Stop(std::string_view questionKey) {
    services::MsgResult answer = env_.dialogs.MessageBox(Message(questionKey), env_.identity.productName,
                                                   services::MsgButtons::YesNo, services::MsgIcon::Question);
    if (answer == services::MsgResult::Yes) {
        env_.state.RequestStop();
    }
}

void ScanController::cmdStop_Click() { Stop(services::msg::kStop); }

void ScanController::lblStop_Click() {
    if (env_.state.Form().cmdStop.Enabled()) {
        Stop(services::msg::kSure);
    }
}

void ScanController::lvwSpywareFound_ColumnClick(int column) {
    ui::ListView& list = env_.state.ActivityList();
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

namespace {

// A detected program must never be started by looking at it: files are
// shown selected in their folder, folders are opened.
std::string ExplorerCommand(platform::Shell& shell, const ui::ListItem& row, const std::string& location) {
    if (row.smallIcon == ui::kIconFile || row.smallIcon == ui::kIconCookie) {
        return platform::SystemProgramCommand(shell, platform::kExplorer, "/select," + platform::QuotedPath(location));
    }
    return platform::SystemProgramCommand(shell, platform::kExplorer, platform::QuotedPath(location));
}

}  // namespace

void ScanController::cmdBrowse_Click() {
    const ui::ListView& results = env_.state.ResultsList();
    int opened = 0;
    for (std::size_t row = 0; row < results.Count(); ++row) {
        if (!results.Item(row).checked) continue;
        env_.shell.StartProgram(ExplorerCommand(env_.shell, results.Item(row), results.SubItem(row, 1)),
                                platform::ShowWindow::Minimized);
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
