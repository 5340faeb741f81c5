#include "scheduler/ScheduledScan.h"

#include "ui/forms/FrmMain.h"
#include "ui/settings/SettingKeys.h"

namespace bastion {

ScanOutcome StartScheduledScan(ScanController& controller, const ui::SettingsStore& settings) {
    // A file or folder scan would ask for its target: only these two.
    const int kind = settings.ReadNumber(ui::settings::kScheduleKind) == ui::kFullSystemScan ? ui::kFullSystemScan
                                                                                               : ui::kSmartScan;
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
