#include "app/ShieldTimers.h"

#include "services/settings/SettingKeys.h"

namespace bastion {

namespace keys = services::settings;

namespace {

void HoldAll(ui::FrmMain& form, bool held) {
    for (ui::Timer* timer :
         {&form.tmrCheckHomePage, &form.tmrMemoryInspected, &form.tmrScheduler, &form.tmrFileShield}) {
        timer->SetHeld(held);
    }
}

}  // namespace

ShieldTimers::ShieldTimers(ui::FrmMain& form, const services::SettingsStore& settings)
    : form_(form), settings_(settings) {
    HoldAll(form_, true);
    form_.tmrTimeOut.SetEnabled(false);
}

void ShieldTimers::EnableShieldTimers(bool enable) {
    if (!enable) {
        ++holders_;
        HoldAll(form_, true);
        form_.tmrTimeOut.SetEnabled(false);
        return;
    }
    if (holders_ == 0) return;
    if (--holders_ > 0) return;
    // A timer already running keeps its period: switching it on again
    // changes nothing.
    form_.tmrScheduler.SetEnabled(settings_.ReadNumber(keys::kChkAutomaticScanYesOrNo) != 0);
    form_.tmrCheckHomePage.SetEnabled(settings_.ReadTruth(keys::kOptIEHomePageSheildOn));
    form_.tmrMemoryInspected.SetEnabled(settings_.ReadTruth(keys::kOptMemorySheildOn));
    HoldAll(form_, false);
}

void ShieldTimers::OptionChanged(ui::Timer& timer, bool enabled) { timer.SetEnabled(enabled); }

void BindShieldTimers(ui::FrmMain& form, MemoryShield& memoryShield, HomePageShield& homePageShield) {
    form.tmrMemoryInspected.onTick = [&memoryShield] { memoryShield.CheckRunningPrograms(); };
    form.tmrCheckHomePage.onTick = [&form, &homePageShield] {
        if (!homePageShield.CheckHomePage()) form.tmrCheckHomePage.SetEnabled(false);
    };
}

void BindFileShieldTimer(ui::FrmMain& form, FileShield& fileShield) {
    form.tmrFileShield.SetInterval(FileShield::kLookIntervalMs);
    form.tmrFileShield.onTick = [&form, &fileShield] {
        fileShield.CheckArrivals();
        form.tmrFileShield.SetInterval(fileShield.NextLookMs());
        if (!fileShield.Waiting()) form.tmrFileShield.SetEnabled(false);
    };
    fileShield.onWaiting = [&form] {
        if (!form.tmrFileShield.Enabled()) form.tmrFileShield.SetEnabled(true);
    };
}

}  // namespace bastion
