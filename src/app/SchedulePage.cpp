#include "app/SchedulePage.h"

#include "scheduler/Schedule.h"
#include "services/messages/MessageKeys.h"
#include "services/settings/SettingKeys.h"

namespace bastion {

namespace keys = services::settings;

namespace {

// Holds the handlers off while code fills the controls.
class Filling {
public:
    explicit Filling(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~Filling() { flag_ = was_; }
    Filling(const Filling&) = delete;
    Filling& operator=(const Filling&) = delete;

private:
    bool& flag_;
    bool was_;
};

}  // namespace

SchedulePage::SchedulePage(SchedulePageEnvironment environment) : env_(environment) {
    ui::FrmMain& form = env_.form;
    form.chkAutomaticScanYesOrNo.onClick = [this] {
        if (filling_) return;
        ShowControlStates();
        Changed();
    };
    form.cmbDays.onClick = [this] {
        if (filling_) return;
        ui::FrmMain& form = env_.form;
        const int day = form.cmbDays.ListIndex();
        if (day != kScheduleDateAndTime) form.dtpScheduleDate.SetValue(std::nullopt);
        if (day == kScheduleNever) form.dtpScheduleTime.SetValue(std::nullopt);
        ShowControlStates();
        Changed();
    };
    form.dtpScheduleDate.onChange = [this] { Changed(); };
    form.dtpScheduleTime.onChange = [this] { Changed(); };
    form.chkAutoDel.onClick = [this] {
        if (!filling_) env_.settings.WriteCheck(keys::kChkAutoDel, env_.form.chkAutoDel.Checked());
    };
    form.CmdProceed.onClick = [this] { SaveSchedule(); };
    form.cmdDefaultSetting.onClick = [this] { cmdDefaultSetting_Click(); };
    form.CmdProceed.SetEnabled(false);
}

void SchedulePage::Changed() {
    if (!filling_) env_.form.CmdProceed.SetEnabled(true);
}

void SchedulePage::ShowControlStates() {
    ui::FrmMain& form = env_.form;
    const bool enabled = form.chkAutomaticScanYesOrNo.Checked();
    const int day = form.cmbDays.ListIndex();
    form.cmbDays.SetEnabled(enabled);
    form.dtpScheduleDate.SetEnabled(enabled && day == kScheduleDateAndTime);
    form.dtpScheduleTime.SetEnabled(enabled && day >= kScheduleMonday && day < kScheduleNever);
}

void SchedulePage::ShowSchedule() {
    ui::FrmMain& form = env_.form;
    const Schedule stored = LoadSchedule(env_.settings);
    {
        Filling filling(filling_);
        form.chkAutoDel.SetValue(ui::CheckValue(env_.settings.ReadNumber(keys::kChkAutoDel) == 1));
        form.chkAutomaticScanYesOrNo.SetValue(ui::CheckValue(stored.enabled));
        // Never saved: Daily, to be chosen.
        const bool neverSaved = env_.settings.Read(keys::kDay, keys::kDaySchedulePageDefault) ==
                                keys::kDaySchedulePageDefault;
        form.cmbDays.SetListIndex(neverSaved ? kScheduleDaily : stored.day);
        form.dtpScheduleDate.SetValue(neverSaved ? std::nullopt : stored.date);
        form.dtpScheduleTime.SetValue(neverSaved ? std::nullopt : stored.time);
        ShowControlStates();
        form.CmdProceed.SetEnabled(false);
    }
    env_.scheduler.SetSchedule(stored);
}

void SchedulePage::Tell(std::string_view messageKey, services::MsgIcon icon) {
    env_.dialogs.MessageBox(env_.messages.getMessages(messageKey), env_.identity.productName, services::MsgButtons::Ok, icon);
}

void SchedulePage::SaveSchedule() {
    ui::FrmMain& form = env_.form;
    const bool enabled = form.chkAutomaticScanYesOrNo.Checked();
    int day = form.cmbDays.ListIndex();
    if (day < kScheduleMonday) day = kScheduleNever;
    const std::optional<DateTime> date = form.dtpScheduleDate.Value();
    const std::optional<DateTime> time = form.dtpScheduleTime.Value();
    if (enabled && day == kScheduleDateAndTime) {
        if (!date || !time) {
            Tell(services::msg::kDate, services::MsgIcon::Information);
            return;
        }
        const DateTime moment{date->year, date->month, date->day, time->hour, time->minute, time->second};
        if (moment <= env_.clock.Now()) Tell(services::msg::kSchedulePast, services::MsgIcon::Exclamation);
    } else if (enabled && day != kScheduleNever && !time) {
        Tell(services::msg::kScheduleTime, services::MsgIcon::Information);
        return;
    }

    env_.settings.WriteCheck(keys::kChkAutomaticScanYesOrNo, enabled);
    env_.settings.WriteCheck(keys::kChkAutoDel, form.chkAutoDel.Checked());
    // Switched off, the day, date and time stay as they were stored.
    if (enabled) {
        env_.settings.WriteNumber(keys::kDay, day);
        env_.settings.Write(keys::kTime, ScheduleValueText(time));
        env_.settings.Write(keys::kDate, ScheduleValueText(date));
    }
    env_.timers.OptionChanged(form.tmrScheduler, enabled);
    ShowSchedule();
}

void SchedulePage::cmdDefaultSetting_Click() {
    ui::FrmMain& form = env_.form;
    {
        Filling filling(filling_);
        form.chkAutomaticScanYesOrNo.SetValue(ui::kUnchecked);
        form.cmbDays.SetListIndex(kScheduleDaily);
        form.dtpScheduleDate.SetValue(std::nullopt);
        form.dtpScheduleTime.SetValue(std::nullopt);
        form.chkAutoDel.SetValue(ui::kUnchecked);
        ShowControlStates();
    }
    Changed();
}

}  // namespace bastion
