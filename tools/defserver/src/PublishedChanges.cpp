#include "PublishedChanges.h"

#include <algorithm>

#include "HttpCaching.h"

namespace defserver {

PublishedChanges::PublishedChanges(std::filesystem::path folder, std::function<void(const std::string&)> report,
                                   std::function<bastion::DateTime()> now, std::chrono::milliseconds lookEvery,
                                   std::function<Clock::time_point()> clock, std::chrono::seconds settle)
    : folder_(std::move(folder), std::move(report), std::move(now), settle),
      lookEvery_(lookEvery),
      clock_(std::move(clock)) {}

std::shared_ptr<const Publication> PublishedChanges::Current() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (looked_ && clock_() - lookedAt_ < lookEvery_) return current_;
    }
    std::unique_lock<std::mutex> looking(looking_, std::defer_lock);
    bool first = false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        first = !looked_;
    }
    // Before the first look every request waits for it; after it, a
    // request that finds another looking serves what was there.
    if (first) {
        looking.lock();
    } else if (!looking.try_lock()) {
        std::lock_guard<std::mutex> hold(lock_);
        return current_;
    }
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (looked_ && clock_() - lookedAt_ < lookEvery_) return current_;
    }
    Look();
    std::lock_guard<std::mutex> hold(lock_);
    return current_;
}

void PublishedChanges::Look() {
    bool served = false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        served = current_ != nullptr;
    }
    // Most looks find nothing new: the log served stays, and no copy of it
    // is made to compare.
    if (served && !folder_.Changed()) {
        std::lock_guard<std::mutex> hold(lock_);
        lookedAt_ = clock_();
        return;
    }
    std::optional<ChangeLog> log = folder_.Read();
    const std::time_t read = std::time(nullptr);
    std::shared_ptr<const Publication> previous;
    {
        std::lock_guard<std::mutex> hold(lock_);
        previous = current_;
    }
    std::shared_ptr<const Publication> next = previous;
    if (!log) {
        next = nullptr;
    } else if (!previous || previous->log.sets != log->sets) {
        auto made = std::make_shared<Publication>();
        made->version = ++versions_;
        made->log = std::move(*log);
        made->date = bastion::FormatGeneralDate(LatestDate(made->log));
        made->dateTag = EntityTag(made->date);
        // Later than what was served before even when no file says so (a
        // set dated ahead that has come due): a cache that asks whether
        // anything changed since then must hear yes.
        const std::time_t written = FileTime(folder_.LastWritten());
        made->lastModified = std::min(read, std::max(written, previous ? previous->lastModified + 1 : written));
        next = std::move(made);
    }
    std::lock_guard<std::mutex> hold(lock_);
    current_ = std::move(next);
    looked_ = true;
    lookedAt_ = clock_();
}

}  // namespace defserver
