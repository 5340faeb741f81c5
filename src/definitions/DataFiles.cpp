#include "definitions/DataFiles.h"

namespace bastion {

std::string DataFolder(const PathTokens& tokens) {
    return tokens.Expand("[appdata]DovuVedivazIVE");
}

std::string DataFilePath(std::string_view folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder).append("\\").append(name);
    return path;
}

bool DataFileExists(platform::FileSystem& files, std::string_view folder, std::string_view name) {
    std::optional<platform::DirEntry> entry = files.Lookup(DataFilePath(folder, name));
    return entry && (entry->attributes & platform::kAttrDirectory) == 0;
}

std::string QuarantineFolder(std::string_view dataFolder) {
    return DataFilePath(dataFolder, datafile::kQuarantine);
}

std::string QuarantineLogPath(std::string_view dataFolder) {
    return DataFilePath(QuarantineFolder(dataFolder), datafile::kQuarantineLog);
}

}  // namespace bastion
