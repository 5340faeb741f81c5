// The scan an occurrence of the schedule starts.
#pragma once

#include "scan/ScanEngine.h"
#include "services/settings/SettingsStore.h"

namespace bastion {

struct ScheduledScan {
    ScanKind kind = ScanKind::Smart;
    // Everything found is removed once the scan has completed.
    bool removeFound = false;
};

// The kind stored with the schedule (the options page's scan type: a Full
// System Scan, or a Smart Scan; a file or folder scan would ask for its
// target), removing what it finds when "chkAutoDel" (section "Settings") is
// 1. It runs unattended.
ScheduledScan StoredScheduledScan(const services::SettingsStore& settings);

}  // namespace bastion
