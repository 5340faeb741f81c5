#include "app/StartupSequence.h"

#include "app/DriveList.h"
#include "app/FileShieldOptions.h"
#include "app/HelpOpener.h"
#include "app/OptionPage.h"
#include "app/RunAtStartup.h"
#include "common/Text.h"
#include "services/messages/GuardMessages.h"
#include "services/messages/MessageKeys.h"
#include "services/settings/MachineSettingsStore.h"
#include "services/settings/SettingKeys.h"
#include "update/DefinitionDate.h"

namespace bastion {

namespace {

namespace keys = services::settings;

// The product that, when it runs at start-up, starts in the notification
// area.
constexpr std::string_view kTrayWhenRunAtStartupProduct = "Hallowick";

// Runs a step that must not stop the ones after it.
template <typename F>
bool Attempt(F&& step) {
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}

template <typename F>
void IfSet(const F& hook) {
    if (hook) hook();
}

}  // namespace

void LoadOptionPage(App& app) {
    app.schedulePage.ShowSchedule();
    // Moments that passed while the program was not running.
    if (const std::optional<DateTime> lastLook = ParseGeneralDate(app.settings.Read(keys::kScheduleLastLook))) {
        app.scheduler.CatchUp(*lastLook);
    }
    // The drives first: the restore ticks them as stored.
    FillDriveList(app.platform.files, app.form.lvwHardDrives);
    RestoreOptionPage(app.form, app.settings, app.messages,
                      ReadDefinitionDate(app.platform.files, app.platform.codePage, app.dataFolder));
    RestoreRunAtStartup(RunAtStartupOf(app));
    RestoreFileShieldOptions({app.form, app.services, app.fileShield});
}

StartupSequence::StartupSequence(App& app, MainWindowLifecycle& lifecycle, StartupSeams seams)
    : app_(app), lifecycle_(lifecycle), seams_(std::move(seams)) {}

LoadResult StartupSequence::Run() {
    const LoadResult loaded = lifecycle_.Load();
    if (loaded == LoadResult::Running) Complete();
    return loaded;
}

void StartupSequence::Complete() {
    RestoreOptionsAndStartTimers();
    Attempt([this] { LoadDeleteListWindow(); });
    // The welcome text came with the load.
    Attempt([this] { ShowHelpAtFirstStart(); });
    Attempt([this] { StartAutomaticUpdate(); });
    Attempt([this] { app_.updates.CheckFreshness(true, true); });
    Attempt([this] { ShowWindowOrGoToTray(); });
    Attempt([this] { GreetFirstStart(); });
}

void StartupSequence::RestoreOptionsAndStartTimers() {
    // The start-up has held the timers since the app was made: restoring
    // the options only stores, and nothing starts half-restored.
    const bool restored = Attempt([this] { LoadOptionPage(app_); });
    app_.form.tmrScroll.SetEnabled(false);
    app_.shieldTimers.EnableShieldTimers(true);
    if (!restored) {
        app_.dialogs.MessageBox(app_.messages.getMessages(services::msg::kOptionsNotRestored),
                                app_.identity.productName, services::MsgButtons::Ok, services::MsgIcon::Exclamation);
    }
}

void StartupSequence::LoadDeleteListWindow() {
    app_.removal.deleteFailed.SetVisible(false);
    IfSet(seams_.loadDeleteListWindow);
}

void StartupSequence::ShowHelpAtFirstStart() {
    if (app_.settings.Read(keys::kShowHelp) != keys::kChecked) return;
    ViewHelp(app_);
    // Without a help file there is nothing to show at the next start either.
    app_.settings.Write(keys::kShowHelp, keys::kUnchecked);
}

void StartupSequence::StartAutomaticUpdate() { app_.updates.StartAutomaticUpdate(); }

void StartupSequence::ShowWindowOrGoToTray() {
    const bool leftInTray = app_.settings.Read(keys::kMinimized) == keys::kYes;
    const bool trayWhenRunAtStartup = Trim(app_.identity.productName) == kTrayWhenRunAtStartupProduct &&
                                      app_.form.chkRunAtStartup.Checked();
    if ((leftInTray || trayWhenRunAtStartup) && seams_.goToTray && seams_.goToTray()) return;
    IfSet(seams_.showWindow);
    app_.form.SetVisible(true);
}

void StartupSequence::GreetFirstStart() {
    services::MachineSettingsStore machine(app_.platform.registry, app_.identity.companyName, app_.identity.productName,
                                     app_.settings, app_.dialogs);
    const services::MachineSettingResult mark = machine.Read(keys::kMachineFirstTime);
    if (!mark.Failed() && !mark.value.empty()) return;
    // A user who cannot write the machine store keeps the note alone.
    if (!app_.settings.Read(keys::kFirstTimeThisUser).empty()) return;
    machine.WriteQuietly(keys::kMachineFirstTime, keys::kYes);
    app_.settings.Write(keys::kFirstTimeThisUser, keys::kYes);

    const services::MessageCatalogue& messages = app_.messages;
    const std::string text = messages.getMessages(services::msg::kThank1) + "\r\n\r\n" +
                             messages.getMessages(services::msg::kThank2) + "\r\n\r\n" +
                             messages.getMessages(services::msg::kThank3) + "\r\n";
    if (app_.dialogs.MessageBox(text, messages.getMessages(services::msg::kThank4), services::MsgButtons::YesNo,
                                services::MsgIcon::Question) == services::MsgResult::Yes) {
        app_.updates.RunLiveUpdate();
    }
}

}  // namespace bastion
