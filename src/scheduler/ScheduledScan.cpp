#include "scheduler/ScheduledScan.h"

#include "services/settings/SettingKeys.h"
#include "ui/forms/FrmMain.h"

namespace bastion {

ScanOutcome StartScheduledScan(ScanController& controller, const services::SettingsStore& settings) {
    // A file or folder scan would ask for its target: only these two.
    const int kind = settings.ReadNumber(services::settings::kScheduleKind) == ui::kFullSystemScan ? ui::kFullSystemScan
                                                                                               : ui::kSmartScan;
    struct Attended {
        ScanController& controller;
        ~Attended() {
            controller.SetUnattended(false);
            controller.SetAutoDelete(false);
        }
    } restore{controller};
    controller.SetAutoDelete(settings.ReadNumber(services::settings::kChkAutoDel) == 1);
    controller.SetUnattended(true);
    return controller.StartScanOfKind(kind);
}

}  // namespace bastion
