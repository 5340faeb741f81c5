// The scan an occurrence of the schedule starts.
#pragma once

#include "scan/ScanController.h"
#include "ui/forms/FrmMain.h"
#include "ui/settings/SettingsStore.h"

namespace bastion {

// Runs the kind chosen on the scan page when it needs no dialog (Full
// System Scan), a Smart Scan otherwise (a file or folder scan would ask for
// its target), unattended, and removing what it finds when "chkAutoDel"
// (section "Settings") is 1. Returns when the scan, and the removal, have
// finished; a scan the user starts afterwards is attended and removes
// nothing by itself.
ScanOutcome StartScheduledScan(ScanController& controller, const ui::FrmMain& form,
                               const ui::SettingsStore& settings);

}  // namespace bastion
