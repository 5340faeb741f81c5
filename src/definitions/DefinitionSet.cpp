#include "definitions/DefinitionSet.h"

#include <array>
#include <string>
#include <vector>

#include "definitions/DataFiles.h"
#include "services/messages/MessageKeys.h"

namespace bastion {

namespace {

// The files an incremental update builds on, in the order they are tested.
// "Safety.dat" is not one of them.
constexpr std::array<std::string_view, 5> kTestedFiles{
    datafile::kFileDefinitions, datafile::kRegistryDefinitions, datafile::kExeDefinitions,
    datafile::kBlockedCookies,  datafile::kDirectoryDefinitions,
};

constexpr std::array<std::string_view, 4> kReplaceableFiles{
    datafile::kBlockedCookies, datafile::kRegistryDefinitions, datafile::kFileDefinitions,
    datafile::kExeDefinitions,
};

constexpr std::string_view kPendingPrefix = "DL";

}  // namespace

bool CheckDefinitionFiles(platform::FileSystem& files, std::string_view dataFolder,
                          const services::MessageCatalogue& messages, ui::Label& lblDefVersion) {
    for (std::string_view name : kTestedFiles) {
        if (!DataFileExists(files, dataFolder, name)) {
            lblDefVersion.SetCaption(messages.getMessages(services::msg::kMissingFiles));
            ResetDefinitionFiles(files, dataFolder);
            return false;
        }
    }
    return true;
}

void ResetDefinitionFiles(platform::FileSystem& files, std::string_view dataFolder) {
    files.DeleteFile(DataFilePath(dataFolder, datafile::kDefinitionDate));
}

void InstallPendingDefinitionFiles(platform::FileSystem& files, std::string_view dataFolder) {
    std::vector<std::string_view> waiting;
    for (std::string_view name : kReplaceableFiles) {
        if (DataFileExists(files, dataFolder, std::string(kPendingPrefix) + std::string(name))) waiting.push_back(name);
    }
    if (waiting.empty()) return;
    // Nobody vouches for a file put in place this way: the next update
    // replays every change since the first day, which repairs a file that
    // is empty or older than the date says, and changes nothing in one that
    // is whole. The date goes first, so that a crash between the steps
    // leaves no replaced file under the old date (a date that cannot be
    // deleted keeps the files waiting); whatever still waits is put in
    // place at the next start.
    ResetDefinitionFiles(files, dataFolder);
    if (DataFileExists(files, dataFolder, datafile::kDefinitionDate)) return;
    for (std::string_view name : waiting) {
        // One step: deleting the live file first would lose it whenever the
        // move then fails.
        files.MoveReplace(DataFilePath(dataFolder, std::string(kPendingPrefix) + std::string(name)),
                          DataFilePath(dataFolder, name));
    }
}

}  // namespace bastion
