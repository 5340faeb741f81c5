// The drives a Full System Scan may walk, and whether each is to be, kept
// in section "Drives".
#include "platform/FileSystem.h"
#include "scan/walk/Walker.h"
#include "ui/settings/SettingKeys.h"
#include "ui/settings/SettingValues.h"

namespace bastion {

namespace {

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

}  // namespace

std::vector<std::string> ScannableDrives(platform::FileSystem& files) {
    std::vector<std::string> letters;
    for (const platform::DriveInfo& drive : files.ListDrives()) {
        if (Offered(drive)) letters.push_back(drive.letter);
    }
    return letters;
}

bool StoredDriveTick(const ui::SettingsStore& settings, const std::string& letter) {
    const bool byDefault = ui::ParseSettingTruth(ui::settings::kDriveDefault).value_or(true);
    return settings.ReadTruth(ui::settings::kSectionDrives, letter, byDefault);
}

void StoreDriveTick(ui::SettingsStore& settings, const std::string& letter, bool ticked) {
    settings.WriteSetting(ui::settings::kSectionDrives, letter, ui::TruthText(ticked));
}

std::string DriveRoot(const std::string& letter) { return letter + ":\\"; }

}  // namespace bastion
