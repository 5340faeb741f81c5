// The scan an occurrence of the schedule starts.
#pragma once

#include "scan/ScanController.h"
#include "services/settings/SettingsStore.h"

namespace bastion {

// Runs the kind stored with the schedule (the options page's scan type: a
// Full System Scan, or a Smart Scan), unattended, and removing what it
// finds when "chkAutoDel" (section "Settings") is 1. Returns when the
// scan, and the removal, have finished; a scan the user starts afterwards
// is attended and removes nothing by itself.
ScanOutcome StartScheduledScan(ScanController& controller, const services::SettingsStore& settings);

}  // namespace bastion
