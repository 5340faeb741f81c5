#include "definitions/DefinitionSet.h"

#include <array>
#include <string>

#include "definitions/DataFiles.h"
#include "ui/MessageKeys.h"

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
                          const ui::MessageCatalogue& messages, ui::Label& lblDefVersion) {
    for (std::string_view name : kTestedFiles) {
        if (!DataFileExists(files, dataFolder, name)) {
            lblDefVersion.SetCaption(messages.getMessages(ui::msg::kMissingFiles));
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
    bool installed = false;
    for (std::string_view name : kReplaceableFiles) {
        std::string pending(kPendingPrefix);
        pending += name;
        if (!DataFileExists(files, dataFolder, pending)) continue;
        // One step: deleting the live file first would lose it whenever the
        // move then fails.
        installed |= files.MoveReplace(DataFilePath(dataFolder, pending), DataFilePath(dataFolder, name));
    }
    // Nobody vouches for a file put in place this way: the next update
    // replays every change since the first day, which repairs a file that
    // is empty or older than the date says, and changes nothing in one that
    // is whole.
    if (installed) ResetDefinitionFiles(files, dataFolder);
}

}  // namespace bastion
