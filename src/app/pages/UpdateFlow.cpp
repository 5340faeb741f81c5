#include "app/pages/UpdateFlow.h"

#include <optional>

#include "app/pages/StatusPage.h"
#include "scan/state/DefinitionCounts.h"
#include "services/messages/MessageKeys.h"
#include "services/operations/TimersHeld.h"
#include "services/settings/SettingKeys.h"
#include "services/waits/RequestWait.h"
#include "update/DefinitionFreshness.h"
#include "update/UpdateAddresses.h"

namespace bastion {

namespace keys = services::settings;

namespace {

constexpr std::string_view kOperationName = "update";
// The automatic update runs after this many seconds without an operation.
constexpr int kAutomaticUpdateSeconds = 300;
constexpr long long kFreshnessLookSeconds = 60;

}  // namespace

UpdateFlow::UpdateFlow(UpdateEnvironment environment) : env_(environment) {
    env_.form.timUpdate.onTick = [this] { timUpdate_Timer(); };
    download.onCancel = [this] { stopRequested_ = true; };
    popup.acknowledged = [this] {
        env_.settings.Write(keys::kShow, keys::kFalseLowerCase);
        if (download.removeTrayIcon) download.removeTrayIcon();
    };
}

std::optional<UpdateResult> UpdateFlow::RunLiveUpdate() {
    services::OperationGate::Operation operation =
        env_.operations.TryBegin(kOperationName, [this] { stopRequested_ = true; });
    if (!operation) return std::nullopt;
    stopRequested_ = false;
    ui::FrmMain& form = env_.form;
    std::optional<services::TimersHeld> held(std::in_place, env_.background);
    form.cmdLiveUpdate.SetEnabled(false);

    UpdateResult result;
    try {
        download.Form_Load(env_.messages);
        env_.pump.Pump();
        result = Check();
        ShowResult(result);
    } catch (...) {
        // The window and the timers come back whatever went wrong.
        result.outcome = UpdateOutcome::Failed;
    }
    download.Form_Unload();
    form.cmdLiveUpdate.SetEnabled(true);
    held.reset();
    return result;
}

UpdateResult UpdateFlow::Check() {
    const UpdateContext context{env_.internet,   env_.files,    env_.codePage,
                                env_.dataFolder, env_.identity, DefinitionServerBase(env_.settings),
                                env_.trust,      &env_.clock};
    const platform::HttpWaiting waiting =
        services::RequestWait(env_.pump, env_.operations, [this] { return stopRequested_; });
    UpdateProgress progress;
    progress.status = [this](const std::string& status) {
        download.txtStatus.SetText(status);
        if (onStatus) onStatus(status);
        env_.pump.Pump();
    };
    progress.stopRequested = waiting.cancelled;
    progress.pump = waiting.pump;
    return CheckForDefinitionUpdates(context, progress);
}

void UpdateFlow::ShowResult(const UpdateResult& result) {
    // A withdrawn definition must not be found again before the next start,
    // whether or not the update got to its end.
    if (result.walkDefinitionsChanged) env_.tables.Discard();
    if (result.confirmed) RecordConfirmation(env_.settings, *result.confirmed);
    CheckFreshness(false, true);
    if (result.count > 0 || !result.date.empty()) {
        CountDefinitions(env_.files, env_.dataFolder, env_.state);
        RefreshStatusPage(env_, env_.form, env_.state.definitions.total);
    }
    switch (result.outcome) {
        case UpdateOutcome::Stopped:
            return;
        case UpdateOutcome::UpToDate:
            popup.Show(env_.messages.getMessages(services::msg::kRecentDefs));
            return;
        case UpdateOutcome::Failed:
            popup.Show(env_.messages.getMessages(services::msg::kInternet));
            return;
        case UpdateOutcome::Unverified:
            popup.Show(env_.messages.getMessages(services::msg::kNotVerified));
            return;
        case UpdateOutcome::NotSaved:
            popup.Show(env_.messages.getMessages(services::msg::kNotSaved));
            return;
        case UpdateOutcome::Updated:
            break;
    }
    env_.settings.Write(keys::kShow, keys::kTrue);
    env_.settings.Write(keys::kRestart, keys::kTrue);
    if (download.removeTrayIcon) download.removeTrayIcon();
    popup.Show(env_.messages.getMessages(services::msg::kUpdatedDefs));
    env_.form.cmdScan.SetEnabled(true);
}

void UpdateFlow::CheckFreshness(bool notify, bool now) {
    if (!env_.trust.Keyed()) return;
    const DateTime utc = env_.clock.UniversalNow();
    if (!now && freshnessLook_ && SecondsBetween(*freshnessLook_, utc) < kFreshnessLookSeconds &&
        *freshnessLook_ <= utc) {
        return;
    }
    freshnessLook_ = utc;
    ui::Label& label = env_.form.lblDefinitionsUnconfirmed;
    const std::optional<DateTime> since = UnconfirmedSince(env_.settings, utc);
    if (!since) {
        label.SetVisible(false);
        return;
    }
    // The day the user's clock showed then.
    const long long offset = SecondsBetween(utc, env_.clock.Now());
    const std::string text = UnconfirmedText(env_.messages, AddSeconds(*since, offset));
    label.SetCaption(text);
    label.SetVisible(true);
    if (notify && NoticeDue(env_.settings, utc)) {
        RecordNotice(env_.settings, utc);
        popup.Show(text);
    }
}

void UpdateFlow::StartAutomaticUpdate() {
    const long long enabled = env_.settings.ReadNumber(keys::kSectionOptionAndSettings, keys::kChkAutomaticUpdate.name,
                                                       0);
    counter_ = 0;
    env_.form.timUpdate.SetEnabled(enabled == 1);
}

void UpdateFlow::timUpdate_Timer() {
    if (!env_.operations.Idle()) return;
    if (counter_ < kAutomaticUpdateSeconds) {
        ++counter_;
        return;
    }
    counter_ = 0;
    env_.form.timUpdate.SetEnabled(false);
    RunLiveUpdate();
}

}  // namespace bastion
