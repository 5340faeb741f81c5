#include "shields/file/ArrivalHashes.h"

#include "common/Text.h"

namespace bastion {

void ArrivalHashes::Add(const Arrival& arrival, const platform::FileStamp& stamp) {
    std::string key = ToLower(arrival.path);
    if (!keys_.insert(key).second) return;
    waiting_.push_back({arrival, std::move(key), stamp, false});
}

void ArrivalHashes::Clear() {
    for (const Waiting& waiting : waiting_) verdicts_.Forget(waiting.arrival.path);
    waiting_.clear();
    keys_.clear();
}

std::vector<HashedArrival> ArrivalHashes::Look(ScanContext& context) {
    std::vector<HashedArrival> ended;
    std::vector<Waiting> still;
    std::size_t running = 0;
    for (Waiting& waiting : waiting_) {
        if (!waiting.started && running >= kAtOnce) {
            still.push_back(std::move(waiting));
            continue;
        }
        const std::string& path = waiting.arrival.path;
        // Asked before the hash (not to start one of a file being written)
        // and after it (what it said may be of the file before its change).
        auto changed = [&] { return context.files.Stamp(path) != waiting.stamp; };
        bool wasChanged = changed();
        ContentVerdicts::Answer answer;
        if (!wasChanged) {
            answer = verdicts_.Look(context, path, true);
            if (answer.verdict == ContentVerdicts::Verdict::Pending) {
                waiting.started = true;
                ++running;
                still.push_back(std::move(waiting));
                continue;
            }
            wasChanged = changed();
        }
        verdicts_.Forget(path);
        keys_.erase(waiting.key);
        if (!context.files.Lookup(path)) continue;
        ended.push_back({std::move(waiting.arrival), wasChanged, wasChanged ? std::nullopt : answer.match});
    }
    waiting_ = std::move(still);
    return ended;
}

}  // namespace bastion
