// The drive list of the scan options and the folder walker of the Full
// System Scan, the Folder Scan and the File Scan: every file and folder met
// is handed to the folder-walk matchers.
#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "scan/ScanContext.h"
#include "services/settings/SettingsStore.h"

namespace bastion {

// The letters of the drives a Full System Scan may walk, in the system's
// order: removable, network and CD-ROM drives whether or not a medium is in
// (the walk skips an empty one), a fixed disk only when it answers; RAM
// disks and drives of no known type never.
std::vector<std::string> ScannableDrives(platform::FileSystem& files);
// Whether the drive is to be walked, as stored in section "Drives" (ticked
// when nothing is stored), and storing it.
bool StoredDriveTick(const services::SettingsStore& settings, const std::string& letter);
void StoreDriveTick(services::SettingsStore& settings, const std::string& letter, bool ticked);
// The root a Full System Scan walks for the drive's letter ("C:").
std::string DriveRoot(const std::string& letter);

// Walks a drive root such as "C:\"; an unreadable drive is skipped.
// threads: how many threads list its folders (1: the walk's own alone).
void ScanDrive(ScanContext& context, const std::string& root, int threads = 1);
// Scans a folder ending in "\" and everything below it.
void ScanFolder(ScanContext& context, const std::string& folder, int threads = 1);
// Scans one file.
void ScanFile(ScanContext& context, const std::string& path);

}  // namespace bastion
