// The drive list of the scan options and the folder walker of the Full
// System Scan, the Folder Scan and the File Scan: every file and folder met
// is handed to the folder-walk matchers.
#pragma once

#include <string>

#include "platform/FileSystem.h"
#include "scan/ScanContext.h"
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

// Walks a drive root such as "C:\"; an unreadable drive is skipped.
void ScanDrive(ScanContext& context, const std::string& root);
// Scans a folder ending in "\" and everything below it.
void ScanFolder(ScanContext& context, const std::string& folder);
// Scans one file.
void ScanFile(ScanContext& context, const std::string& path);

}  // namespace bastion
