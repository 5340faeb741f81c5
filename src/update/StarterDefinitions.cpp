#include "update/StarterDefinitions.h"

#include <array>

#include "definitions/DataFiles.h"
#include "platform/LineFile.h"

namespace bastion {

namespace {

constexpr std::array<std::string_view, 8> kStarterFiles{
    datafile::kFileDefinitions, datafile::kDirectoryDefinitions, datafile::kRegistryDefinitions,
    datafile::kExeDefinitions,  datafile::kBlockedCookies,       datafile::kSafety,
    datafile::kContentDefinitions, datafile::kDefinitionDate,
};

}  // namespace

bool InstallStarterDefinitions(platform::FileSystem& files, std::string_view programFolder,
                               std::string_view dataFolder) {
    for (std::string_view name : kStarterFiles) {
        if (DataFileExists(files, dataFolder, name)) return false;
    }
    const std::string source = DataFilePath(programFolder, kStarterDefinitionsFolder);
    bool installed = false;
    for (std::string_view name : kStarterFiles) {
        const std::optional<std::string> content = files.ReadFile(DataFilePath(source, name));
        if (!content) continue;
        if (!platform::WriteFileReplacing(files, DataFilePath(dataFolder, name), *content)) return installed;
        installed = true;
    }
    return installed;
}

}  // namespace bastion
