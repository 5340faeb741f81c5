#include "scheduler/ScheduledScan.h"

#include "services/settings/SettingKeys.h"

namespace bastion {

namespace {
// The options page stores the scan type as its position among the scan
// kinds: 0 a Smart Scan, 1 a Full System Scan.
constexpr long long kStoredFullSystemScan = 1;
}  // namespace

ScheduledScan StoredScheduledScan(const services::SettingsStore& settings) {
    const bool full = settings.ReadNumber(services::settings::kScheduleKind) == kStoredFullSystemScan;
    return {full ? ScanKind::FullSystem : ScanKind::Smart, settings.ReadNumber(services::settings::kChkAutoDel) == 1};
}

}  // namespace bastion
