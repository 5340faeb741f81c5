// The drive list of the scan options: which drives are offered, and their
// ticks kept in section "Drives".
#include <map>

#include "platform/FileSystem.h"
#include "scan/walk/Walker.h"
#include "services/settings/SettingKeys.h"
#include "services/settings/SettingValues.h"

namespace bastion {

namespace {

// Removable, network and CD-ROM drives are offered whether or not a medium
// is in (the walk skips an empty one); a fixed disk only when it answers;
// RAM disks and drives of no known type never.
bool Offered(const platform::DriveInfo& drive) {
    switch (drive.type) {
        case platform::DriveType::Removable:
        case platform::DriveType::Network:
        case platform::DriveType::CdRom:
            return true;
        case platform::DriveType::Fixed:
            return drive.ready;
        default:
            return false;
    }
}

// The tick stored for the drive; ticked when none is.
bool StoredTick(const services::SettingsStore& settings, const std::string& letter) {
    const bool byDefault = services::ParseSettingTruth(services::settings::kDriveDefault).value_or(true);
    return settings.ReadTruth(services::settings::kSectionDrives, letter, byDefault);
}

}  // namespace

void FillDriveList(platform::FileSystem& files, ui::ListView& drives) {
    drives.Clear();
    for (const platform::DriveInfo& drive : files.ListDrives()) {
        if (Offered(drive)) drives.Add(drive.letter);
    }
}

void RefreshDriveList(platform::FileSystem& files, ui::ListView& drives, const services::SettingsStore& settings) {
    std::map<std::string, bool> ticks;
    for (const ui::ListItem& row : drives.Rows()) ticks.emplace(row.text, row.checked);
    FillDriveList(files, drives);
    for (std::size_t row = 0; row < drives.Count(); ++row) {
        const std::string& letter = drives.Item(row).text;
        const auto kept = ticks.find(letter);
        drives.SetChecked(row, kept != ticks.end() ? kept->second : StoredTick(settings, letter));
    }
}

void StoreDriveTicks(const ui::ListView& drives, services::SettingsStore& settings) {
    for (const ui::ListItem& row : drives.Rows()) {
        settings.WriteSetting(services::settings::kSectionDrives, row.text, services::TruthText(row.checked));
    }
}

void RestoreDriveTicks(ui::ListView& drives, const services::SettingsStore& settings) {
    for (std::size_t row = 0; row < drives.Count(); ++row) {
        drives.SetChecked(row, StoredTick(settings, drives.Item(row).text));
    }
}

}  // namespace bastion
