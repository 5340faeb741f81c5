#include "app/RemovalCommands.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <unordered_set>

#include "common/Lines.h"
#include "common/Rounding.h"
#include "common/Text.h"
#include "removal/RemovalMessages.h"
#include "removal/RestorePoints.h"
#include "services/messages/MessageKeys.h"
#include "services/operations/TimersHeld.h"

namespace bastion {

namespace {

template <typename Hook>
void Call(const Hook& hook) {
    if (hook) hook();
}

// What is removed together, in the order the removal takes them.
int RemovalGroup(DetectionKind kind) {
    switch (kind) {
    case DetectionKind::Cookie: return 2;
    case DetectionKind::Registry: return 1;
    case DetectionKind::File:
    case DetectionKind::Folder:
    case DetectionKind::RunningProgram: break;
    }
    return 0;
}

}  // namespace

RemovalCommands::RemovalCommands(const RemovalCommandsEnvironment& environment, RemovalHooks hooks)
    : env_(environment), hooks_(std::move(hooks)) {
    deleteFailed.Command2.onClick = [this] { Command2_Click(); };
    deleteFailed.cmdDeleteAtRestart.onClick = [this] { cmdDeleteAtRestart_Click(); };
}

std::string RemovalCommands::Message(std::string_view key) const { return env_.messages.getMessages(key); }

RemovalReport RemovalCommands::Command4_Click() { return Confirmed(false); }

RemovalReport RemovalCommands::RemoveUnattended() { return Confirmed(true); }

RemovalReport RemovalCommands::lblRemove_Click() { return Remove(false); }

RemovalReport RemovalCommands::Confirmed(bool unattended) {
    const std::string& title = env_.identity.productName;
    if (!env_.presenter.AnyTicked()) {
        if (!unattended) {
            env_.dialogs.MessageBox(Message(services::msg::kSelected), title, services::MsgButtons::Ok, services::MsgIcon::Information);
        }
        return {};
    }
    if (!unattended) {
        const std::string blank = "\r\n\r\n";
        std::string question = Message(services::msg::kConfirm1) + blank + Message(services::msg::kConfirm2) + blank +
                               env_.dataFolder + "\\quarantine";
        if (IsRestorePointSupported(env_.system.GetOsVersion())) {
            question += blank + Message(services::msg::kConfirm3) + blank + Message(services::msg::kConfirm4);
        }
        if (env_.dialogs.MessageBox(question, Message(services::msg::kReally), services::MsgButtons::YesNo,
                                    services::MsgIcon::Question) != services::MsgResult::Yes) {
            return {};
        }
    }
    return Remove(unattended);
}

void RemovalCommands::Reached(Stage stage) {
    ui::Label& label = env_.form.lblDeletingPercentageCompleted;
    switch (stage) {
    case Stage::Gathering: label.SetCaption(Message(services::msg::kInformation)); break;
    case Stage::Gathered: label.SetCaption(""); break;
    case Stage::MakingRestorePoint: label.SetCaption(Message(services::msg::kRestorePoint)); break;
    }
}

// The label tells how far the removal is among the listed detections of
// the item's group (files and folders, registry entries or cookies), in
// the order they were found.
void RemovalCommands::Removing(const Detection& detection, std::string_view location, std::size_t step,
                               std::size_t steps) {
    ui::FrmMain& form = env_.form;
    form.lblDeletingCaption.SetCaption(ToLower(location));
    form.pgbDeleteSpywaresFound.SetMax(std::max<double>(1, static_cast<double>(steps)));
    form.pgbDeleteSpywaresFound.SetValue(static_cast<double>(step));
    std::unordered_set<DetectionId> listed;
    for (const ui::ListItem& row : form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.Rows()) listed.insert(row.id);
    std::size_t position = 0;
    std::size_t count = 0;
    for (const Detection& found : env_.presenter.Results().detections) {
        if (RemovalGroup(found.kind) != RemovalGroup(detection.kind) || !listed.contains(found.id)) continue;
        ++count;
        if (found.id == detection.id) position = count;
    }
    const double share = count == 0 ? 0 : static_cast<double>(position) / static_cast<double>(count);
    form.lblDeletingPercentageCompleted.SetCaption(Message(services::msg::kRemoving2) + " : " +
                                                   ToDecimal(BankersRound(share * 100)) + "% " +
                                                   Message(services::msg::kCompleted));
}

RemovalReport RemovalCommands::Remove(bool unattended) {
    RemovalEngine& engine = env_.engine;
    engine.ClearStop();
    services::OperationGate::Operation operation = env_.operations.TryBegin("removal", [&engine] { engine.RequestStop(); });
    if (!operation) return {};
    deleteFailed.lstProblem.Clear();
    ui::FrmMain& form = env_.form;
    Call(hooks_.showResultsPage);
    std::optional<services::TimersHeld> held(std::in_place, env_.background);
    ui::SetEnabled({&form.lblRemove, &form.cmdRemove, &form.Command4}, false);
    for (ui::Control* item : std::initializer_list<ui::Control*>{&form.pgbDeleteSpywaresFound,
                                                                 &form.lblDeletingPercentageCompleted,
                                                                 &form.lblDeletingCaption}) {
        item->SetVisible(true);
    }
    form.lblDeletingCaption.SetCaption("");

    // Taken in the order found (ids rise with it), whatever order the list
    // shows.
    std::vector<Detection> selection = env_.presenter.Ticked();
    std::sort(selection.begin(), selection.end(),
              [](const Detection& a, const Detection& b) { return a.id < b.id; });
    const auto steps = std::count_if(selection.begin(), selection.end(), Removable);
    form.pgbDeleteSpywaresFound.SetMax(std::max<double>(1, static_cast<double>(steps)));
    const RemovalReport report = engine.Remove(selection, *this);
    ShowReport(report, IsRestorePointSupported(env_.system.GetOsVersion()));
    held.reset();
    ui::SetEnabled({&form.lblRemove, &form.cmdRemove, &form.Command4}, true);
    Call(hooks_.refreshStatusPage);
    operation.Finish();

    // A request of its own, which starts once the removal has finished.
    if (!engine.StopRequested() && form.chkSendData.Checked()) Call(hooks_.sendAnonymousData);

    // A removal stopped by the program's end shows no window on its way out.
    if (!unattended && !engine.StopRequested() && deleteFailed.lstProblem.Count() > 0 && hooks_.showDeleteFailed) {
        deleteFailed.SetVisible(true);
        hooks_.showDeleteFailed();
    }
    return report;
}

void RemovalCommands::ShowReport(const RemovalReport& report, bool restorePointSupported) {
    ui::FrmMain& form = env_.form;
    // The lists follow what happened to each item: a removed one leaves,
    // a survivor (or one no longer found) stays unticked, one the removal
    // did not reach before it was stopped stays as it was.
    env_.presenter.ShowRemoval(report);
    for (const RemovedItem& item : report.items) {
        if (item.result != RemovalResult::Failed) continue;
        if (item.note == RemovalNote::None) {
            deleteFailed.lstProblem.Add(item.location);
        } else {
            // Said why, and left alone by "Delete at next restart".
            const std::size_t row = deleteFailed.lstProblem.Add(
                item.location + " (" + env_.messages.getMessageContinuing(RemovalNoteKey(item.note)) + ")");
            deleteFailed.lstProblem.SetTag(row, std::string(RemovalNoteKey(item.note)));
        }
    }
    form.lblDeletingCaption.SetCaption("");
    form.pgbDeleteSpywaresFound.SetValue(form.pgbDeleteSpywaresFound.Max());
    form.lblDeletingPercentageCompleted.SetCaption("100% " + Message(services::msg::kComplete));

    // What the user must know stays on the results page; the rest of the
    // progress goes.
    std::string note;
    if (report.failed > 0) note = Message(msg::kNotRemoved) + " " + ToDecimal(report.failed);
    if (report.notFound > 0) {
        note += (note.empty() ? "" : "  ") + Message(msg::kNotFound) + " " + ToDecimal(report.notFound);
    }
    if (restorePointSupported && !report.restorePointMade) {
        note += (note.empty() ? "" : "  ") + Message(msg::kNoRestorePoint);
    }
    form.pgbDeleteSpywaresFound.SetVisible(false);
    form.lblDeletingPercentageCompleted.SetVisible(false);
    form.lblDeletingCaption.SetCaption(note);
    form.lblDeletingCaption.SetVisible(!note.empty());
}

void RemovalCommands::Command2_Click() {
    std::string text;
    for (const ui::ListItem& row : deleteFailed.lstProblem.Rows()) {
        text += row.text;
        text += kCrLf;
    }
    env_.shell.SetClipboardText(text);
}

void RemovalCommands::cmdDeleteAtRestart_Click() {
    int scheduled = 0;
    int refused = 0;
    ui::ListView& problems = deleteFailed.lstProblem;
    for (std::size_t row = problems.Count(); row-- > 0;) {
        // A part of Windows stays whatever is asked.
        if (!problems.Item(row).tag.empty()) continue;
        switch (env_.engine.DeleteAtNextRestart(problems.Item(row).text)) {
        case RestartDeletion::Scheduled:
            problems.RemoveAt(row);
            ++scheduled;
            break;
        case RestartDeletion::Refused: ++refused; break;
        case RestartDeletion::NoFile: break;
        }
    }
    std::string text;
    if (scheduled > 0) text = Message(msg::kDeleteAtRestart) + " " + ToDecimal(scheduled);
    if (refused > 0) text += (text.empty() ? "" : "\r\n\r\n") + Message(msg::kNotDeleteAtRestart) + " " + ToDecimal(refused);
    if (!text.empty()) {
        env_.dialogs.MessageBox(text, env_.identity.productName, services::MsgButtons::Ok,
                                refused > 0 ? services::MsgIcon::Exclamation : services::MsgIcon::Information);
    }
}

}  // namespace bastion
