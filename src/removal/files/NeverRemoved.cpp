#include "removal/files/NeverRemoved.h"

#include "common/PathParts.h"
#include "common/Text.h"

namespace bastion {

namespace {

// "c:", "\\server\share" and anything shorter: the root of a drive or share.
bool IsRoot(const std::string& path) {
    if (path.size() <= 2) return true;
    if (StartsWith(path, "\\\\")) {
        const std::size_t server = path.find('\\', 2);
        return server == std::string::npos || path.find('\\', server + 1) == std::string::npos;
    }
    return path.find('\\') == std::string::npos;
}

}  // namespace

NeverRemoved::NeverRemoved(platform::FileSystem& files, platform::Shell& shell, platform::SystemInfo& system,
                           const std::string& dataFolder, const std::string& quarantineFolder)
    : folders_(files), quarantine_(files) {
    for (int csidl : {platform::csidl::kWindows, platform::csidl::kSystem, platform::csidl::kSystemX86,
                      platform::csidl::kProgramFiles, platform::csidl::kProgramFilesX86,
                      platform::csidl::kProgramFilesCommon, platform::csidl::kProgramFilesCommonX86,
                      platform::csidl::kProfile, platform::csidl::kCommonAppData, platform::csidl::kAppData}) {
        if (std::optional<std::string> folder = shell.SpecialFolderPath(csidl)) folders_.Add(*folder);
    }
    if (std::optional<std::string> profile = shell.SpecialFolderPath(platform::csidl::kProfile)) {
        // The folder every user's profile lies in.
        folders_.Add(FolderOfPath(folders_.Comparable(*profile)));
    }
    if (std::optional<std::string> allUsers = shell.AllUsersProfilePath()) folders_.Add(*allUsers);
    folders_.Add(system.SystemFolder());
    folders_.Add(FolderOfPath(system.ProgramPath()));
    folders_.Add(dataFolder);
    quarantine_.Add(quarantineFolder);
}

bool NeverRemoved::Contains(const std::string& path) const {
    const std::string candidate = folders_.Comparable(path);
    return IsRoot(candidate) || quarantine_.Holds(candidate) || folders_.Tops(candidate);
}

}  // namespace bastion
