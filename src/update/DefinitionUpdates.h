// CheckForDefinitionUpdates: one conversation with the definition server.
// Its date is compared with the local definition date; when it is later,
// the delta since the local date is fetched and applied, and the date is
// stored. Any request that fails, an answer that is no date, a delta with
// nothing usable in it, or a file that could not be written is a failure,
// never "up to date". A build that names the vendor's key takes only a
// date answer the key verifies and that was issued lately by the program's
// clock, applies only a delta the key verifies that brings the definitions
// to that date, stores the date, and keeps the delta as it came.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "common/CodePage.h"
#include "common/DateTime.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Internet.h"
#include "services/identity/Identity.h"
#include "update/DefinitionTrust.h"

namespace bastion {

enum class UpdateOutcome {
    UpToDate,
    Updated,
    // Nothing usable came from the server.
    Failed,
    Stopped,
    // The signature, date, freshness or count of an answer did not hold:
    // nothing changed.
    Unverified,
    // A definition file or "date.dat" could not be read or written.
    NotSaved,
};

// The longest the delta may take to arrive; every other request gets the
// default deadline.
inline constexpr std::chrono::milliseconds kDeltaDeadline{120000};

struct UpdateResult {
    UpdateOutcome outcome = UpdateOutcome::Failed;
    // The changes the delta made.
    int count = 0;
    // The stored definition date after an update.
    std::string date;
    bool walkDefinitionsChanged = false;
    // When (UTC, by the program's clock) a verified date answer confirmed
    // what the server has; a build without a key confirms nothing.
    std::optional<DateTime> confirmed;
};

struct UpdateContext {
    platform::Internet& internet;
    platform::FileSystem& files;
    const CodePage& codePage;
    const std::string& dataFolder;
    const services::Identity& identity;
    // The definition server's base address.
    std::string server;
    DefinitionTrust trust;
    // Tells whether a signed date answer is fresh; a keyed check without
    // it verifies nothing.
    platform::Clock* clock = nullptr;
};

struct UpdateProgress {
    // The progress window's status texts.
    std::function<void(const std::string& status)> status;
    // Asked at the safe points: between requests and between files, and
    // while a request waits.
    std::function<bool()> stopRequested;
    // Lets the window's events run while a request waits.
    std::function<void()> pump;
};

// One GET; while the body arrives, status receives "Downloaded N bytes."
// after every chunk that follows the first.
std::optional<std::string> HttpGetTextWithProgress(platform::Internet& internet, const platform::HttpRequest& request,
                                                   const UpdateProgress& progress);

UpdateResult CheckForDefinitionUpdates(const UpdateContext& context, const UpdateProgress& progress = {});

}  // namespace bastion
