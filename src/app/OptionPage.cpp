#include "app/OptionPage.h"

#include <utility>

#include "app/DriveList.h"
#include "services/messages/GuardMessages.h"
#include "services/settings/SettingKeys.h"

namespace bastion {

namespace keys = services::settings;

namespace {

void BindStoredCheck(ui::CheckBox& box, services::SettingsStore& settings, const services::SettingKey& key) {
    box.onClick = [&box, &settings, &key] { settings.WriteCheck(key, box.Checked()); };
}

// Both buttons of a pair are stored at every click, each as its state.
void BindStoredPair(ui::OptionButton& first, const services::SettingKey& firstKey, ui::OptionButton& second,
                    const services::SettingKey& secondKey, services::SettingsStore& settings,
                    std::function<void(bool)> then) {
    auto store = [&first, &firstKey, &second, &secondKey, &settings, then = std::move(then)] {
        settings.WriteTruth(firstKey, first.Value());
        settings.WriteTruth(secondKey, second.Value());
        if (then) then(first.Value());
    };
    first.onClick = store;
    second.onClick = store;
}

// The check box and the option buttons of a shield say the same thing;
// whichever the user changed, the others follow.
void ShowShieldState(ui::CheckBox& box, ui::OptionButton& on, ui::OptionButton& off, bool enabled) {
    (enabled ? on : off).SetValue(true);
    box.SetValue(ui::CheckValue(enabled));
}

void SwitchMemoryShield(ui::FrmMain& form, ShieldTimers& timers, bool enabled) {
    timers.OptionChanged(form.tmrMemoryInspected, enabled);
    ShowShieldState(form.chkAutoProtect, form.optMemorySheildOn, form.optMemorySheildOff, enabled);
}

void SwitchHomePageShield(ui::FrmMain& form, ShieldTimers& timers, bool enabled) {
    timers.OptionChanged(form.tmrCheckHomePage, enabled);
    // How to react to a change only matters while the shield watches.
    form.optAlwaysnotifybeforerestoring.SetEnabled(enabled);
    form.optRestoredefaultwithoutnotification.SetEnabled(enabled);
    ShowShieldState(form.chkHomePage, form.optIEHomePageSheildOn, form.optIEHomePageSheildOff, enabled);
}

void StoreShield(services::SettingsStore& settings, const services::SettingKey& on, const services::SettingKey& off,
                 bool enabled) {
    settings.WriteTruth(on, enabled);
    settings.WriteTruth(off, !enabled);
}

}  // namespace

void BindOptionControls(ui::FrmMain& form, services::SettingsStore& settings, ShieldTimers& timers,
                        OptionPageHooks hooks) {
    BindStoredCheck(form.chkAutomaticUpdate, settings, keys::kChkAutomaticUpdate);
    BindStoredCheck(form.chkMakeLog, settings, keys::kChkMakeLog);
    BindStoredCheck(form.chkScanCookies, settings, keys::kChkScanCookies);
    BindStoredCheck(form.chkScanRegistry, settings, keys::kChkScanRegistry);
    BindStoredCheck(form.chkSweepMemory, settings, keys::kChkSweepMemory);
    BindStoredCheck(form.chkParallelWalk, settings, keys::kChkParallelWalk);
    form.chkSendData.onClick = [&form, &settings, confirm = std::move(hooks.confirmSendData)] {
        const bool ticked = form.chkSendData.Checked();
        if (!confirm || confirm(ticked)) settings.WriteCheck(keys::kChkSendData, ticked);
    };

    form.chkAutoProtect.onClick = [&form, &settings, &timers] {
        const bool enabled = form.chkAutoProtect.Checked();
        StoreShield(settings, keys::kOptMemorySheildOn, keys::kOptMemorySheildOff, enabled);
        SwitchMemoryShield(form, timers, enabled);
    };
    BindStoredPair(form.optMemorySheildOn, keys::kOptMemorySheildOn, form.optMemorySheildOff,
                   keys::kOptMemorySheildOff, settings,
                   [&form, &timers](bool enabled) { SwitchMemoryShield(form, timers, enabled); });
    form.chkHomePage.onClick = [&form, &settings, &timers] {
        const bool enabled = form.chkHomePage.Checked();
        StoreShield(settings, keys::kOptIEHomePageSheildOn, keys::kOptIEHomePageSheildOff, enabled);
        SwitchHomePageShield(form, timers, enabled);
    };
    BindStoredPair(form.optIEHomePageSheildOn, keys::kOptIEHomePageSheildOn, form.optIEHomePageSheildOff,
                   keys::kOptIEHomePageSheildOff, settings,
                   [&form, &timers](bool enabled) { SwitchHomePageShield(form, timers, enabled); });
    BindStoredPair(form.optAlwaysnotifybeforerestoring, keys::kOptAlwaysnotifybeforerestoring,
                   form.optRestoredefaultwithoutnotification, keys::kOptRestoredefaultwithoutnotification, settings,
                   nullptr);
    // The scan type is the kind of the scheduled scans, stored with the
    // schedule.
    BindStoredPair(form.optScanAllSelectedHardDrive, keys::kOptScanAllSelectedHardDrive,
                   form.optScanOnlyKnownSoftwares, keys::kOptScanOnlyKnownSoftwares, settings,
                   [&settings](bool fullSystemScan) {
                       settings.WriteNumber(keys::kScheduleKind, fullSystemScan ? ui::kFullSystemScan : ui::kSmartScan);
                   });

    form.lvwHardDrives.onItemCheck = [&form, &settings](std::size_t) {
        StoreDriveTicks(form.lvwHardDrives, settings);
    };
}

std::string LastUpdateText(const services::MessageCatalogue& messages, const std::string& definitionDate) {
    return messages.getMessages(services::msg::kLastUpdated) + " " + definitionDate + " PST";
}

void RestoreOptionPage(ui::FrmMain& form, services::SettingsStore& settings, const services::MessageCatalogue& messages,
                       const std::string& definitionDate) {
    auto check = [&settings](ui::CheckBox& box, const services::SettingKey& key) {
        box.SetValue(ui::CheckValue(settings.ReadTruth(key)));
    };
    // Switching a button off fires nothing, as a click never does that; the
    // other button of the pair, switched on from its own key, stores both.
    auto option = [&settings](ui::OptionButton& button, const services::SettingKey& key) {
        button.SetValue(settings.ReadTruth(key));
    };

    settings.WriteTruth(keys::kShow, true);
    option(form.optIEHomePageSheildOn, keys::kOptIEHomePageSheildOn);
    form.chkHomePage.SetValue(ui::CheckValue(form.optIEHomePageSheildOn.Value()));
    check(form.chkMakeLog, keys::kChkMakeLog);
    option(form.optIEHomePageSheildOff, keys::kOptIEHomePageSheildOff);
    option(form.optAlwaysnotifybeforerestoring, keys::kOptAlwaysnotifybeforerestoring);
    option(form.optRestoredefaultwithoutnotification, keys::kOptRestoredefaultwithoutnotification);
    option(form.optMemorySheildOn, keys::kOptMemorySheildOn);
    form.chkAutoProtect.SetValue(ui::CheckValue(form.optMemorySheildOn.Value()));
    option(form.optMemorySheildOff, keys::kOptMemorySheildOff);
    check(form.chkSweepMemory, keys::kChkSweepMemory);
    check(form.chkScanRegistry, keys::kChkScanRegistry);
    // The kind the schedule starts, as stored with it.
    const bool fullSystemScan = settings.ReadNumber(keys::kScheduleKind) == ui::kFullSystemScan;
    (fullSystemScan ? form.optScanAllSelectedHardDrive : form.optScanOnlyKnownSoftwares).SetValue(true);
    check(form.chkScanCookies, keys::kChkScanCookies);
    check(form.chkParallelWalk, keys::kChkParallelWalk);
    {
        // Restoring asks nothing: only the user's own clearing of the box is
        // confirmed.
        ui::Handler confirming = std::exchange(form.chkSendData.onClick, nullptr);
        check(form.chkSendData, keys::kChkSendData);
        form.chkSendData.onClick = std::move(confirming);
    }

    form.lblLastUpdate.SetCaption(LastUpdateText(messages, definitionDate));
    // The schedule tab has been shown as stored (ShowSchedule).
    check(form.chkAutomaticUpdate, keys::kChkAutomaticUpdate);

    RestoreDriveTicks(form.lvwHardDrives, settings);
    // A fresh profile keeps the widths the list opens with, which fit its
    // columns; the user's own widths come back once stored.
    auto& results = form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    for (std::size_t i = 0; i < results.Columns().size(); ++i) {
        const auto current = static_cast<long long>(results.Columns()[i].widthTwips);
        const long long width = settings.ReadNumber(keys::kSectionSettings,
                                                    keys::FoundColumnKey(static_cast<int>(i) + 1), current);
        if (width > 0) results.SetColumnWidth(i, static_cast<double>(width));
    }
}

}  // namespace bastion
