#include "scheduler/ScheduledScan.h"

#include "ui/settings/SettingKeys.h"

namespace bastion {

ScanOutcome StartScheduledScan(ScanController& controller, const ui::FrmMain& form,
                               const ui::SettingsStore& settings) {
    const int kind = form.optScan[ui::kFullSystemScan].Value() ? ui::kFullSystemScan : ui::kSmartScan;
    struct Attended {
        ScanController& controller;
        ~Attended() {
            controller.SetUnattended(false);
            controller.SetAutoDelete(false);
        }
    } restore{controller};
    controller.SetAutoDelete(settings.ReadNumber(ui::settings::kChkAutoDel) == 1);
    controller.SetUnattended(true);
    return controller.StartScanOfKind(kind);
}

}  // namespace bastion
