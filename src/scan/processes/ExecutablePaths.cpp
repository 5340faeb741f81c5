#include "scan/processes/ExecutablePaths.h"

#include <algorithm>

#include "common/PathParts.h"
#include "common/Text.h"

namespace bastion {

namespace {

// A folder as a process path's folder reads after NormalizedProcessPath.
// The place comes with its doubled backslashes reduced, a network folder's
// opening pair kept.
std::string NormalizedFolder(std::string_view folder, std::string_view systemFolder) {
    std::string normal = NormalizedProcessPath(std::string(folder) + "\\", systemFolder);
    while (!normal.empty() && normal.back() == '\\') normal.pop_back();
    return normal;
}

}  // namespace

void ExecutablePathList::Add(const ExeRecord& record, const PathTokens& tokens, std::string_view systemFolder) {
    if (!record.valid) return;
    const std::string name = ToUpper(Trim(record.fileName));
    if (name.empty()) return;
    std::vector<std::string>& folders = folders_[name];
    if (Trim(record.folder).empty()) {
        folders.emplace_back();
        return;
    }
    for (const std::string& place : tokens.PathPlaces(record.folder)) {
        std::string folder = NormalizedFolder(place, systemFolder);
        // A folder that expands to nothing names no place on this machine.
        if (folder.empty()) continue;
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(std::move(folder));
    }
}

bool ExecutablePathList::Matches(std::string_view upperPath, std::string_view upperFileName) const {
    if (upperFileName.empty()) return false;
    const auto found = folders_.find(std::string(upperFileName));
    if (found == folders_.end()) return false;
    const std::string folder = FolderOfPath(upperPath);
    return std::any_of(found->second.begin(), found->second.end(),
                       [&folder](const std::string& defined) { return defined.empty() || defined == folder; });
}

std::string NormalizeSystem32Path(std::string_view path, std::string_view systemFolder) {
    constexpr std::string_view kSystem32 = "SYSTEM32\\";
    const std::string trimmed = Trim(path);
    // Upper-casing keeps every character's length, so a position in the
    // upper-cased text is one in the trimmed path too.
    const std::size_t at = ToUpper(trimmed).rfind(kSystem32);
    if (at == std::string::npos) return std::string(path);
    std::string normal(systemFolder);
    normal += '\\';
    normal.append(trimmed, at + kSystem32.size());
    return normal;
}

std::string NormalizedProcessPath(std::string_view modulePath, std::string_view systemFolder) {
    return ToUpper(NormalizeSystem32Path(ToUpper(Trim(modulePath)), systemFolder));
}

}  // namespace bastion
