#include "shields/file/ShieldFolders.h"

#include <optional>

#include "common/Text.h"
#include "services/settings/SettingKeys.h"

namespace bastion {

namespace {

constexpr std::string_view kTopLevelOnly = "\\*";
constexpr std::string_view kSeparator = "|";

std::string WithoutTrailingSeparator(std::string path) {
    // "C:\" keeps its backslash: "C:" alone is the drive's current folder.
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

bool Listed(const std::vector<ShieldFolder>& folders, std::string_view path) {
    for (const ShieldFolder& folder : folders) {
        if (EqualsIgnoreCase(folder.path, path)) return true;
    }
    return false;
}

void AddOnce(std::vector<ShieldFolder>& folders, const std::optional<std::string>& path, bool subfolders) {
    if (!path) return;
    std::string folder = WithoutTrailingSeparator(Trim(*path));
    if (folder.empty() || Listed(folders, folder)) return;
    folders.push_back({std::move(folder), subfolders});
}

}  // namespace

std::vector<ShieldFolder> DefaultShieldFolders(platform::Shell& shell, platform::SystemInfo& system) {
    std::vector<ShieldFolder> folders;
    AddOnce(folders, shell.DownloadsFolderPath(), true);
    AddOnce(folders, shell.SpecialFolderPath(platform::csidl::kDesktopDirectory), true);
    AddOnce(folders, shell.SpecialFolderPath(platform::csidl::kPersonal), true);
    AddOnce(folders, shell.SpecialFolderPath(platform::csidl::kStartup), true);
    AddOnce(folders, shell.SpecialFolderPath(platform::csidl::kCommonStartup), true);
    // Programs unpack and write there all the time: what lands in its top
    // level is what gets started from it.
    const std::string temp = system.ExpandEnvironment("%TEMP%");
    if (temp.find('%') == std::string::npos) AddOnce(folders, temp, false);
    return folders;
}

std::string FormatShieldFolders(const std::vector<ShieldFolder>& folders) {
    std::vector<std::string> entries;
    for (const ShieldFolder& folder : folders) {
        entries.push_back(folder.subfolders ? folder.path : folder.path + std::string(kTopLevelOnly));
    }
    return Join(entries, kSeparator);
}

std::vector<ShieldFolder> ParseShieldFolders(std::string_view text) {
    std::vector<ShieldFolder> folders;
    for (std::string entry : Split(text, kSeparator)) {
        entry = Trim(entry);
        const bool topLevelOnly = entry.ends_with(kTopLevelOnly);
        if (topLevelOnly) entry.resize(entry.size() - kTopLevelOnly.size());
        AddOnce(folders, entry, !topLevelOnly);
    }
    return folders;
}

std::vector<ShieldFolder> StoredShieldFolders(const services::SettingsStore& settings, platform::Shell& shell,
                                              platform::SystemInfo& system) {
    const std::string stored = settings.Read(services::settings::kFileShieldFolders);
    if (stored == services::settings::kFileShieldFolders.defaultValue) return DefaultShieldFolders(shell, system);
    return ParseShieldFolders(stored);
}

void StoreShieldFolders(services::SettingsStore& settings, const std::vector<ShieldFolder>& folders) {
    settings.Write(services::settings::kFileShieldFolders, FormatShieldFolders(folders));
}

bool AddShieldFolder(std::vector<ShieldFolder>& folders, std::string path) {
    const std::size_t before = folders.size();
    AddOnce(folders, std::move(path), true);
    return folders.size() > before;
}

}  // namespace bastion
