#include "shields/ShieldTimers.h"

#include "ui/settings/SettingKeys.h"

namespace bastion {

namespace keys = ui::settings;

namespace {

void StopAll(ui::FrmMain& form) {
    form.tmrCheckHomePage.SetEnabled(false);
    form.tmrMemoryInspected.SetEnabled(false);
    form.tmrScheduler.SetEnabled(false);
    form.tmrTimeOut.SetEnabled(false);
}

}  // namespace

ShieldTimers::ShieldTimers(ui::FrmMain& form, const ui::SettingsStore& settings) : form_(form), settings_(settings) {
    StopAll(form_);
}

void ShieldTimers::EnableShieldTimers(bool enable) {
    if (!enable) {
        ++holders_;
        StopAll(form_);
        return;
    }
    if (holders_ == 0) return;
    if (--holders_ > 0) return;
    form_.tmrScheduler.SetEnabled(settings_.ReadNumber(keys::kChkAutomaticScanYesOrNo) != 0);
    form_.tmrCheckHomePage.SetEnabled(settings_.ReadTruth(keys::kOptIEHomePageSheildOn));
    form_.tmrMemoryInspected.SetEnabled(settings_.ReadTruth(keys::kOptMemorySheildOn));
}

void ShieldTimers::OptionChanged(ui::Timer& timer, bool enabled) { timer.SetEnabled(enabled && !Held()); }

}  // namespace bastion
