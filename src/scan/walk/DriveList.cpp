// The drive list of the scan options: which drives are offered, and their
// ticks kept in section "Drives".
#include <map>

#include "platform/FileSystem.h"
#include "scan/walk/Walker.h"
#include "ui/settings/SettingKeys.h"
#include "ui/settings/SettingValues.h"

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
bool StoredTick(const ui::SettingsStore& settings, const std::string& letter) {
    const bool byDefault = ui::ParseSettingTruth(ui::settings::kDriveDefault).value_or(true);
    return settings.ReadTruth(ui::settings::kSectionDrives, letter, byDefault);
}

}  // namespace

void FillDriveList(platform::FileSystem& files, ui::ListView& drives) {
    drives.Clear();
    for (const platform::DriveInfo& drive : files.ListDrives()) {
        if (Offered(drive)) drives.Add(drive.letter);
    }
}

void RefreshDriveList(platform::FileSystem& files, ui::ListView& drives, const ui::SettingsStore& settings) {
    std::map<std::string, bool> ticks;
    for (const ui::ListItem& row : drives.Rows()) ticks.emplace(row.text, row.checked);
    FillDriveList(files, drives);
    for (std::size_t row = 0; row < drives.Count(); ++row) {
        const std::string& letter = drives.Item(row).text;
        const auto kept = ticks.find(letter);
        drives.SetChecked(row, kept != ticks.end() ? kept->second : StoredTick(settings, letter));
    }
}

void StoreDriveTicks(const ui::ListView& drives, ui::SettingsStore& settings) {
    for (const ui::ListItem& row : drives.Rows()) {
        settings.WriteSetting(ui::settings::kSectionDrives, row.text, ui::TruthText(row.checked));
    }
}

void RestoreDriveTicks(ui::ListView& drives, const ui::SettingsStore& settings) {
    for (std::size_t row = 0; row < drives.Count(); ++row) {
        drives.SetChecked(row, StoredTick(settings, drives.Item(row).text));
    }
}

}  // namespace bastion
