#include "removal/files/NeverRemoved.h"

#include "common/PathParts.h"
#include "common/Text.h"

namespace bastion {

namespace {

std::string Normalized(std::string_view path) {
    std::string folder = ToLower(Trim(path));
    for (char& c : folder) {
        if (c == '/') c = '\\';
    }
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder;
}

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

NeverRemoved::NeverRemoved(platform::Shell& shell, platform::SystemInfo& system, const std::string& dataFolder,
                           const std::string& quarantineFolder)
    : quarantine_(Normalized(quarantineFolder)) {
    for (int csidl : {platform::csidl::kWindows, platform::csidl::kSystem, platform::csidl::kSystemX86,
                      platform::csidl::kProgramFiles, platform::csidl::kProgramFilesX86,
                      platform::csidl::kProgramFilesCommon, platform::csidl::kProgramFilesCommonX86,
                      platform::csidl::kProfile, platform::csidl::kCommonAppData, platform::csidl::kAppData}) {
        if (std::optional<std::string> folder = shell.SpecialFolderPath(csidl)) folders_.push_back(Normalized(*folder));
    }
    if (std::optional<std::string> profile = shell.SpecialFolderPath(platform::csidl::kProfile)) {
        // The folder every user's profile lies in.
        folders_.push_back(Normalized(FolderOfPath(Normalized(*profile))));
    }
    if (std::optional<std::string> allUsers = shell.AllUsersProfilePath()) folders_.push_back(Normalized(*allUsers));
    folders_.push_back(Normalized(system.SystemFolder()));
    folders_.push_back(Normalized(FolderOfPath(system.ProgramPath())));
    folders_.push_back(Normalized(dataFolder));
    std::erase_if(folders_, [](const std::string& folder) { return folder.empty(); });
}

bool NeverRemoved::Contains(const std::string& path) const {
    const std::string candidate = Normalized(path);
    if (IsRoot(candidate)) return true;
    if (!quarantine_.empty() && (candidate == quarantine_ || StartsWith(candidate, quarantine_ + "\\"))) return true;
    for (const std::string& folder : folders_) {
        if (folder == candidate || StartsWith(folder, candidate + "\\")) return true;
    }
    return false;
}

}  // namespace bastion
