// CheckForDefinitionUpdates: one conversation with the definition server.
// Its date is compared with the local definition date; when it is later,
// the delta since the local date is fetched and applied, and the date is
// stored. Any request that fails, an answer that is no date, a delta with
// nothing usable in it, or a file that could not be written is a failure,
// never "up to date".
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "common/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Internet.h"
#include "ui/Identity.h"

namespace bastion {

enum class UpdateOutcome { UpToDate, Updated, Failed, Stopped };

struct UpdateResult {
    UpdateOutcome outcome = UpdateOutcome::Failed;
    // The change count of the applied delta.
    int count = 0;
    // The stored definition date after an update.
    std::string date;
    bool walkDefinitionsChanged = false;
};

struct UpdateContext {
    platform::Internet& internet;
    platform::FileSystem& files;
    const CodePage& codePage;
    const std::string& dataFolder;
    const ui::Identity& identity;
    // The definition server's base address.
    std::string server;
};

struct UpdateProgress {
    // The progress window's status texts.
    std::function<void(const std::string& status)> status;
    // Asked at the safe points: between requests and between files.
    std::function<bool()> stopRequested;
};

// One GET; while the body arrives, status receives "Downloaded N bytes."
// after every chunk that follows the first.
std::optional<std::string> HttpGetTextWithProgress(platform::Internet& internet, const std::string& url,
                                                   const std::function<void(const std::string&)>& status);

UpdateResult CheckForDefinitionUpdates(const UpdateContext& context, const UpdateProgress& progress = {});

}  // namespace bastion
