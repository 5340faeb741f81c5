// The drives a Full System Scan may walk, and whether each is to be, kept
// in section "Drives".
#include "platform/FileSystem.h"
#include "scan/walk/Walker.h"
#include "services/settings/SettingKeys.h"
#include "services/settings/SettingValues.h"

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

bool StoredDriveTick(const services::SettingsStore& settings, const std::string& letter) {
    const bool byDefault = services::ParseSettingTruth(services::settings::kDriveDefault).value_or(true);
    return settings.ReadTruth(services::settings::kSectionDrives, letter, byDefault);
}

void StoreDriveTick(services::SettingsStore& settings, const std::string& letter, bool ticked) {
    settings.WriteSetting(services::settings::kSectionDrives, letter, services::TruthText(ticked));
}

std::string DriveRoot(const std::string& letter) { return letter + ":\\"; }

}  // namespace bastion
