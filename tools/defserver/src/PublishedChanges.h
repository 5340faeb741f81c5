// The change sets as the server serves them at a moment: the log, its
// newest date, and what caches need (a version that changes with the log,
// the tag of the date answer, the time of the last change to the folder).
// The folder is looked at again when a while (a second) has passed since
// the last look, by the first request after that; the others meanwhile
// serve what was there.
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "ChangeFolder.h"

namespace defserver {

struct Publication {
    // Counts up whenever the log served changes.
    std::uint64_t version = 0;
    ChangeLog log;
    // The definition date: the date answer's body, and its entity tag.
    std::string date;
    std::string dateTag;
    // The last change to the folder or a change set in it, no later than
    // the moment it was read.
    std::time_t lastModified = 0;
};

class PublishedChanges {
public:
    using Clock = std::chrono::steady_clock;

    // report, now and settle as ChangeFolder takes them; clock says when
    // lookEvery has passed.
    PublishedChanges(std::filesystem::path folder, std::function<void(const std::string&)> report,
                     std::function<bastion::DateTime()> now,
                     std::chrono::milliseconds lookEvery = std::chrono::seconds(1),
                     std::function<Clock::time_point()> clock = Clock::now,
                     std::chrono::seconds settle = ChangeFolder::kSettle);

    // What to serve now; nullptr while the folder cannot be read.
    std::shared_ptr<const Publication> Current();

private:
    // Reads the folder and publishes what changed.
    void Look();

    ChangeFolder folder_;
    const std::chrono::milliseconds lookEvery_;
    const std::function<Clock::time_point()> clock_;
    // Held by the request that looks at the folder.
    std::mutex looking_;
    // Only the request that looks counts.
    std::uint64_t versions_ = 0;
    // Guards the members below.
    std::mutex lock_;
    std::shared_ptr<const Publication> current_;
    bool looked_ = false;
    Clock::time_point lookedAt_{};
};

}  // namespace defserver
