#include "app/DriveList.h"

#include <map>

#include "scan/walk/Walker.h"

namespace bastion {

void FillDriveList(platform::FileSystem& files, ui::ListView& drives) {
    drives.Clear();
    for (std::string& letter : ScannableDrives(files)) drives.Add(std::move(letter));
}

void RefreshDriveList(platform::FileSystem& files, ui::ListView& drives, const services::SettingsStore& settings) {
    std::map<std::string, bool> ticks;
    for (const ui::ListItem& row : drives.Rows()) ticks.emplace(row.text, row.checked);
    FillDriveList(files, drives);
    for (std::size_t row = 0; row < drives.Count(); ++row) {
        const std::string& letter = drives.Item(row).text;
        const auto kept = ticks.find(letter);
        drives.SetChecked(row, kept != ticks.end() ? kept->second : StoredDriveTick(settings, letter));
    }
}

void StoreDriveTicks(const ui::ListView& drives, services::SettingsStore& settings) {
    for (const ui::ListItem& row : drives.Rows()) StoreDriveTick(settings, row.text, row.checked);
}

void RestoreDriveTicks(ui::ListView& drives, const services::SettingsStore& settings) {
    for (std::size_t row = 0; row < drives.Count(); ++row) {
        drives.SetChecked(row, StoredDriveTick(settings, drives.Item(row).text));
    }
}

std::vector<std::string> TickedDriveRoots(const ui::ListView& drives) {
    std::vector<std::string> roots;
    for (const ui::ListItem& row : drives.Rows()) {
        if (row.checked) roots.push_back(DriveRoot(row.text));
    }
    return roots;
}

}  // namespace bastion
