#include "scan/Walker.h"

namespace bastion {

// Placeholder until the walker lands.
void FillDriveList(platform::FileSystem&, ui::ListView&) {}
void StoreDriveTicks(const ui::ListView&, ui::SettingsStore&) {}
void RestoreDriveTicks(ui::ListView&, const ui::SettingsStore&) {}
void ScanDrive(ScanContext&, const std::string&) {}
void ScanFolder(ScanContext&, const std::string&) {}
void ScanFile(ScanContext&, const std::string&) {}

}  // namespace bastion
