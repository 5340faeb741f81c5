// The drive list of the scan options: one row per drive a Full System Scan
// may walk, ticked when it is to be.
#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "services/settings/SettingsStore.h"
#include "ui/forms/ListView.h"

namespace bastion {

// One row per scannable drive (its letter), in the system's order.
void FillDriveList(platform::FileSystem& files, ui::ListView& drives);
// The list filled again for the drives there are now (one attached or taken
// away since): a drive still there keeps its tick, a new one is ticked as
// stored for it in "Drives" (ticked when nothing is stored).
void RefreshDriveList(platform::FileSystem& files, ui::ListView& drives, const services::SettingsStore& settings);
// After a tick change: the tick of every row to section "Drives".
void StoreDriveTicks(const ui::ListView& drives, services::SettingsStore& settings);
// Each row ticked from "Drives" (a drive without a stored value is ticked).
void RestoreDriveTicks(ui::ListView& drives, const services::SettingsStore& settings);
// The roots of the ticked drives, in list order.
std::vector<std::string> TickedDriveRoots(const ui::ListView& drives);

}  // namespace bastion
