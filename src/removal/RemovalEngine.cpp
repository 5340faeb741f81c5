#include "removal/RemovalEngine.h"

#include <algorithm>
#include <map>
#include <optional>

#include "common/Rounding.h"
#include "common/Text.h"
#include "removal/RemovalMessages.h"
#include "removal/files/ModFileRelated.h"
#include "removal/registry/KeyGuard.h"
#include "removal/registry/ModRegistryRelated.h"
#include "removal/registry/ModRegsvr32.h"
#include "removal/registry/WindowsSettings.h"
#include "services/messages/MessageKeys.h"
#include "services/operations/TimersHeld.h"
#include "services/settings/SettingKeys.h"

namespace bastion {

namespace {

enum class QueueKind { File, Registry, Cookie };

// One ticked queue row through both passes.
struct WorkItem {
    QueueKind kind = QueueKind::File;
    ui::ListView* queue = nullptr;
    std::size_t row = 0;
    std::size_t position = 0;  // from 1, within its queue
    std::string location;
    RemovalResult result = RemovalResult::NotTried;
    RemovalNote note = RemovalNote::None;
    FileItemProgress progress;
};

struct RegistryRow {
    platform::Hive hive = platform::Hive::CurrentUser;
    std::string key;
    std::string value;
    platform::RegView view = platform::RegView::Default;
    bool valid = false;
};

RegistryRow ReadRegistryRow(const ui::ListView& queue, std::size_t row) {
    RegistryRow entry;
    long long number = 0;
    entry.key = Trim(queue.SubItem(row, 1));
    entry.value = Trim(queue.SubItem(row, 2));
    entry.view = RegistryViewFromText(queue.SubItem(row, 4));
    entry.valid = ParseWholeNumber(Trim(queue.Item(row).text), number) &&
                  platform::HiveFromHandleNumber(number, entry.hive) && !entry.key.empty();
    return entry;
}

std::vector<WorkItem> TickedWork(ScanState& state) {
    std::vector<WorkItem> work;
    const std::pair<QueueKind, ui::ListView*> queues[] = {{QueueKind::File, &state.FileQueue()},
                                                          {QueueKind::Registry, &state.RegistryQueue()},
                                                          {QueueKind::Cookie, &state.CookieQueue()}};
    for (auto [kind, queue] : queues) {
        for (std::size_t row = 0; row < queue->Count(); ++row) {
            if (!queue->Item(row).checked) continue;
            WorkItem item;
            item.kind = kind;
            item.queue = queue;
            item.row = row;
            item.position = row + 1;
            if (kind == QueueKind::Registry) {
                const RegistryRow entry = ReadRegistryRow(*queue, row);
                item.location = RegistryEntryLocation(entry.hive, entry.key, entry.value, entry.view);
            } else {
                item.location = RemovalPath(queue->Item(row).text);
            }
            work.push_back(std::move(item));
        }
    }
    return work;
}

bool Settled(RemovalResult result) { return result == RemovalResult::Removed; }

// Not failed only because the removal stopped before it.
bool Tried(RemovalResult result) { return result == RemovalResult::Failed || result == RemovalResult::NotFound; }

bool IsComServerFile(const std::string& path) {
    return EndsWithIgnoreCase(path, ".dll") || EndsWithIgnoreCase(path, ".ocx");
}

RemovalResult RemoveRegistryItem(WorkItem& item, const FileRemoval& files, const RegistryRemoval& registry) {
    const RegistryRow entry = ReadRegistryRow(*item.queue, item.row);
    if (!entry.valid) return RemovalResult::Failed;
    if (!entry.value.empty()) {
        const std::optional<platform::RegValue> windowsDefault =
            WindowsDefaultValue(entry.hive, entry.key, entry.value, files.system.SystemFolder());
        if (!windowsDefault) return DeleteRegistryValue(registry, entry.hive, entry.key, entry.value, entry.view);
        const RemovalResult result =
            SetRegistryValueToDefault(registry, entry.hive, entry.key, entry.value, entry.view, *windowsDefault);
        if (result == RemovalResult::Removed) item.note = RemovalNote::WindowsDefault;
        return result;
    }
    if (IsGuardedRegistryKey(entry.hive, entry.key) ||
        IsServiceWindowsNeeds(registry.registry, entry.hive, entry.key, entry.view)) {
        item.note = RemovalNote::PartOfWindows;
        return RemovalResult::Failed;
    }
    return DeleteRegistryKey(registry, entry.hive, entry.key, entry.view);
}

// One item in one pass.
RemovalResult RemoveItem(WorkItem& item, const FileRemoval& files, const RegistryRemoval& registry,
                         std::vector<std::string>& comFailures) {
    switch (item.kind) {
    case QueueKind::File:
        if (!item.progress.copy && IsComServerFile(item.location)) {
            // The server's classes go only once its file is safe in the
            // quarantine: a copy that fails leaves both as they were.
            if (std::optional<RemovalResult> ended =
                    KeepInQuarantine(files, item.location, QuarantineKind::File, item.progress)) {
                return *ended;
            }
            ComRegistrationsResult com = UnregisterComServer(registry, files.system, files.pump, item.progress.path);
            comFailures.insert(comFailures.end(), com.failed.begin(), com.failed.end());
        }
        return RemoveFileOrFolder(files, item.location, QuarantineKind::File, item.progress);
    case QueueKind::Cookie: return RemoveFileOrFolder(files, item.location, QuarantineKind::Cookie, item.progress);
    case QueueKind::Registry: return RemoveRegistryItem(item, files, registry);
    }
    return RemovalResult::Failed;
}

}  // namespace

std::vector<RemovalResult> ResultsOfRows(const std::vector<ui::ListItem>& rows, const RemovalReport& report) {
    std::vector<RemovalResult> results;
    for (const ui::ListItem& row : rows) {
        std::vector<RemovalResult> outcomes;
        for (const RemovedItem& item : report.items) {
            if (row.link != 0 && item.link == row.link) outcomes.push_back(item.result);
        }
        RemovalResult result = RemovalResult::NotTried;
        if (!outcomes.empty()) {
            const auto all = [&outcomes](RemovalResult wanted) {
                return std::all_of(outcomes.begin(), outcomes.end(), [wanted](RemovalResult r) { return r == wanted; });
            };
            result = all(RemovalResult::Removed)    ? RemovalResult::Removed
                     : all(RemovalResult::NotFound) ? RemovalResult::NotFound
                                                    : RemovalResult::Failed;
        }
        results.push_back(result);
    }
    return results;
}

RemovalEngine::RemovalEngine(const RemovalEnvironment& environment, RemovalHooks hooks)
    : env_(environment), hooks_(std::move(hooks)), restorePoint_(environment.restore) {
    deleteFailed.Command2.onClick = [this] { Command2_Click(); };
    deleteFailed.cmdDeleteAtRestart.onClick = [this] { cmdDeleteAtRestart_Click(); };
}

std::string RemovalEngine::Message(std::string_view key) const { return env_.messages.getMessages(key); }

RemovalReport RemovalEngine::Command4_Click() { return Confirmed(false); }

RemovalReport RemovalEngine::RemoveUnattended() { return Confirmed(true); }

RemovalReport RemovalEngine::Confirmed(bool unattended) {
    ScanState& state = env_.state;
    const std::string& title = env_.identity.productName;
    const auto& rows = state.ResultsList().Rows();
    if (std::none_of(rows.begin(), rows.end(), [](const ui::ListItem& row) { return row.checked; })) {
        if (!unattended) {
            env_.dialogs.MessageBox(Message(services::msg::kSelected), title, services::MsgButtons::Ok,
                                    services::MsgIcon::Information);
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

RemovalReport RemovalEngine::lblRemove_Click() { return Remove(false); }

RemovalReport RemovalEngine::Remove(bool unattended) {
    RemovalReport report;
    stopRequested_ = false;
    services::OperationGate::Operation operation =
        env_.operations.TryBegin("removal", [this] { stopRequested_ = true; });
    if (!operation) return report;
    report.ran = true;
    deleteFailed.lstProblem.Clear();
    ui::FrmMain& form = env_.state.Form();
    Quarantine quarantine(env_.files, env_.codePage, env_.clock, env_.dataFolder);
    quarantine.EnsureFolder();
    if (hooks_.showResultsPage) hooks_.showResultsPage();
    std::optional<services::TimersHeld> held(std::in_place, env_.background);
    for (ui::Control* command : std::initializer_list<ui::Control*>{&form.lblRemove, &form.cmdRemove, &form.Command4}) {
        command->SetEnabled(false);
    }
    for (ui::Control* item : std::initializer_list<ui::Control*>{&form.pgbDeleteSpywaresFound,
                                                                 &form.lblDeletingPercentageCompleted,
                                                                 &form.lblDeletingCaption}) {
        item->SetVisible(true);
    }
    form.lblDeletingCaption.SetCaption("");
    form.lblDeletingPercentageCompleted.SetCaption(Message(services::msg::kInformation));
    env_.pump.PumpNow();
    form.lblDeletingPercentageCompleted.SetCaption("");

    const bool supported = IsRestorePointSupported(env_.system.GetOsVersion());
    if (supported) {
        form.lblDeletingPercentageCompleted.SetCaption(Message(services::msg::kRestorePoint));
        env_.pump.PumpNow();
        report.restorePointMade = restorePoint_.BeginRestorePoint(
            env_.identity.productName + " Restore Point " + FormatGeneralDate(env_.clock.Now()),
            kModifySettingsRestorePoint);
    }

    std::vector<WorkItem> work = TickedWork(env_.state);
    const NeverRemoved neverRemoved(env_.files, env_.shell, env_.system, env_.dataFolder, quarantine.Folder());
    const FileRemoval files{env_.files, env_.processes, env_.system, env_.pump, quarantine, neverRemoved};
    const RegistryRemoval registry{env_.registry, quarantine};
    std::vector<std::string> comFailures;
    form.pgbDeleteSpywaresFound.SetMax(std::max<double>(1, static_cast<double>(work.size())));
    for (int pass = 0; pass < 2 && !stopRequested_; ++pass) {
        const bool firstPass = pass == 0;
        for (std::size_t i = 0; i < work.size() && !stopRequested_; ++i) {
            WorkItem& item = work[i];
            if (!firstPass && item.result != RemovalResult::Failed) continue;
            form.lblDeletingCaption.SetCaption(ToLower(item.location));
            form.pgbDeleteSpywaresFound.SetValue(static_cast<double>(i + 1));
            const double share = static_cast<double>(item.position) / static_cast<double>(item.queue->Count());
            form.lblDeletingPercentageCompleted.SetCaption(Message(services::msg::kRemoving2) + " : " +
                                                           ToDecimal(BankersRound(share * 100)) + "% " +
                                                           Message(services::msg::kCompleted));
            item.result = RemoveItem(item, files, registry, comFailures);
            if (item.progress.note != RemovalNote::None) item.note = item.progress.note;
            env_.pump.Pump();
        }
    }
    for (WorkItem& item : work) {
        if (item.result == RemovalResult::Failed) SettleFailedItem(files, item.progress);
    }
    if (restorePoint_.Open()) restorePoint_.EndRestorePoint();

    // The lists follow what happened to each item: a removed one leaves
    // every list, a survivor (or one no longer found) stays unticked, one
    // the removal did not reach before it was stopped stays as it was.
    std::map<std::uint64_t, std::vector<RemovalResult>> byLink;
    for (const WorkItem& item : work) {
        const std::uint64_t link = item.queue->Item(item.row).link;
        byLink[link].push_back(item.result);
        report.items.push_back({item.location, item.result, link, item.note});
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
    for (const std::string& location : comFailures) {
        // The file went, but a class that names it could not: it counts as
        // a failure of its own.
        report.items.push_back({location, RemovalResult::Failed, 0});
        deleteFailed.lstProblem.Add(location);
    }
    for (const RemovedItem& item : report.items) {
        if (item.result == RemovalResult::Removed) ++report.removed;
        if (item.result == RemovalResult::Failed) ++report.failed;
        if (item.result == RemovalResult::NotFound) ++report.notFound;
    }
    ui::ListView& results = env_.state.ResultsList();
    for (std::size_t row = results.Count(); row-- > 0;) {
        const auto found = byLink.find(results.Item(row).link);
        if (results.Item(row).link == 0 || found == byLink.end()) continue;
        const std::vector<RemovalResult>& outcomes = found->second;
        if (std::all_of(outcomes.begin(), outcomes.end(), Settled)) {
            results.RemoveAt(row);
        } else if (std::any_of(outcomes.begin(), outcomes.end(), Tried)) {
            results.SetChecked(row, false);
        }
    }
    for (auto it = work.rbegin(); it != work.rend(); ++it) {
        if (Settled(it->result)) {
            it->queue->RemoveAt(it->row);
        } else if (Tried(it->result)) {
            it->queue->SetChecked(it->row, false);
        }
    }

    form.lblDeletingCaption.SetCaption("");
    form.pgbDeleteSpywaresFound.SetValue(form.pgbDeleteSpywaresFound.Max());
    form.lblDeletingPercentageCompleted.SetCaption("100% " + Message(services::msg::kComplete));
    held.reset();
    for (ui::Control* command : std::initializer_list<ui::Control*>{&form.lblRemove, &form.cmdRemove, &form.Command4}) {
        command->SetEnabled(true);
    }

    const long long before = env_.settings.ReadNumber(services::settings::kLblDefRemoved);
    env_.settings.WriteNumber(services::settings::kLblDefRemoved, std::max(0LL, before) + report.removed);
    if (hooks_.refreshStatusPage) hooks_.refreshStatusPage();

    // What the user must know stays on the results page; the rest of the
    // progress goes.
    std::string note;
    if (report.failed > 0) note = Message(msg::kNotRemoved) + " " + ToDecimal(report.failed);
    if (report.notFound > 0) {
        note += (note.empty() ? "" : "  ") + Message(msg::kNotFound) + " " + ToDecimal(report.notFound);
    }
    if (supported && !report.restorePointMade) note += (note.empty() ? "" : "  ") + Message(msg::kNoRestorePoint);
    form.pgbDeleteSpywaresFound.SetVisible(false);
    form.lblDeletingPercentageCompleted.SetVisible(false);
    form.lblDeletingCaption.SetCaption(note);
    form.lblDeletingCaption.SetVisible(!note.empty());
    operation.Finish();

    // A request of its own, which starts once the removal has finished.
    if (!stopRequested_ && form.chkSendData.Checked() && hooks_.sendAnonymousData) hooks_.sendAnonymousData();

    // A removal stopped by the program's end shows no window on its way out.
    if (!unattended && !stopRequested_ && deleteFailed.lstProblem.Count() > 0 && hooks_.showDeleteFailed) {
        deleteFailed.SetVisible(true);
        hooks_.showDeleteFailed();
    }
    return report;
}

}  // namespace bastion
