#include "platform/FileExistence.h"

#include "common/Text.h"

namespace bastion {

bool FileExists(platform::FileSystem& files, const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    const std::string_view lastPart =
        separator == std::string::npos ? std::string_view(path) : std::string_view(path).substr(separator + 1);
    if (lastPart.empty()) {
        return false;
    }
    const std::optional<platform::DirEntry> entry = files.Lookup(path);
    if (!entry) {
        return false;
    }
    // Hidden and system files are files too: hiding a threat must not hide
    // it from the scan.
    return (entry->attributes & platform::kAttrDirectory) == 0 && EqualsIgnoreCase(entry->name, lastPart);
}

bool FolderExists(platform::FileSystem& files, const std::string& path) {
    return files.FolderExists(path);
}

}  // namespace bastion
