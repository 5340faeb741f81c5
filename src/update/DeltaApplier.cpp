#include "update/DeltaApplier.h"

#include <array>

#include "common/Text.h"
#include "definitions/DataFiles.h"
#include "platform/LineFile.h"
#include "update/DefinitionDelta.h"

namespace bastion {

namespace {

constexpr std::string_view kApplying = "Applying new updates...";
constexpr std::string_view kRemoving = "Removing outdated definitions: checking entry ";

void Report(const DeltaProgress& progress, const std::string& status) {
    if (progress.status) progress.status(status);
}

}  // namespace

DeltaApplication ApplyDefinitionDelta(platform::FileSystem& files, std::string_view dataFolder,
                                      const ParsedDelta& parsed, const DeltaProgress& progress) {
    DeltaApplication result;
    // A work file an older version left behind belongs to no update.
    if (DataFileExists(files, dataFolder, datafile::kUpdateWork)) {
        files.DeleteFile(DataFilePath(dataFolder, datafile::kUpdateWork));
    }
    auto failed = [&result] {
        result.complete = false;
        result.fileFailed = true;
    };
    // The safety list first: a stop between files must not leave new
    // detections without the safety entries that come with them.
    std::array<std::size_t, kDeltaFileCount> order{};
    order[0] = kDeltaSafety;
    for (std::size_t file = 0, at = 1; file < kDeltaFileCount; ++file) {
        if (file != kDeltaSafety) order[at++] = file;
    }
    for (const std::size_t file : order) {
        if (progress.stopRequested && progress.stopRequested()) {
            result.complete = false;
            return result;
        }
        const FileChange change = PlanFileChange(parsed, file);
        Report(progress, std::string(kApplying));
        const std::string path = DataFilePath(dataFolder, DeltaFileName(file));
        const bool exists = DataFileExists(files, dataFolder, DeltaFileName(file));
        std::optional<std::string> content = exists ? files.ReadFile(path) : std::string();
        if (!content) {
            // A file that cannot be read cannot be rewritten without losing
            // what it holds.
            failed();
            continue;
        }
        // Every file of the set exists after an update, so that the set
        // check finds it complete.
        if (change.Empty() && exists) continue;
        const AppliedFileChange applied = ApplyFileChange(change, *content, [&](std::size_t lines) {
            if (!change.deletedKeys.empty()) Report(progress, std::string(kRemoving) + ToDecimal(static_cast<long long>(lines)));
        });
        if (exists && applied.content == *content) continue;
        if (!platform::WriteFileReplacing(files, path, applied.content)) {
            failed();
            continue;
        }
        result.count += applied.changes;
        if (file == kDeltaFileDefinitions || file == kDeltaDirectoryDefinitions || file == kDeltaContentDefinitions) {
            result.walkDefinitionsChanged = true;
        }
    }
    return result;
}

}  // namespace bastion
