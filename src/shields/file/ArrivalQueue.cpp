#include "shields/file/ArrivalQueue.h"

#include "common/Text.h"

namespace bastion {

namespace {
constexpr std::size_t kMostRemembered = 100000;
}  // namespace

void ArrivalQueue::Add(const std::string& path) {
    std::string key = ToLower(path);
    if (!queued_.insert(key).second) return;
    waiting_.push_back({path, std::move(key), std::nullopt, 0});
}

platform::FileStamp ArrivalQueue::StampOf(const Arrival& arrival) {
    if (std::optional<platform::FileStamp> stamp = files_.Stamp(arrival.path)) return *stamp;
    return {arrival.entry.size, 0};
}

bool ArrivalQueue::Complete(Waiting& waiting, const Arrival& arrival, std::uint64_t now) {
    if (arrival.IsFolder() || watcher_.WriterFinished(arrival.path)) return true;
    if (waiting.size == arrival.entry.size) return now - waiting.sizeSince >= kHeldMs;
    waiting.size = arrival.entry.size;
    waiting.sizeSince = now;
    return false;
}

std::vector<Arrival> ArrivalQueue::TakeComplete(std::size_t most) {
    std::vector<Arrival> complete;
    const std::uint64_t now = clock_.Milliseconds();
    for (std::size_t looked = std::min(most, waiting_.size()); looked > 0; --looked) {
        Waiting waiting = std::move(waiting_.front());
        waiting_.pop_front();
        const std::optional<platform::DirEntry> entry = files_.Lookup(waiting.path);
        if (entry) {
            Arrival arrival{waiting.path, *entry};
            if (!Complete(waiting, arrival, now)) {
                waiting_.push_back(std::move(waiting));
                continue;
            }
            auto checked = checked_.find(waiting.key);
            if (arrival.IsFolder() || checked == checked_.end() || !(checked->second == StampOf(arrival))) {
                complete.push_back(std::move(arrival));
            }
        }
        queued_.erase(waiting.key);
    }
    return complete;
}

void ArrivalQueue::Checked(const Arrival& arrival) {
    if (arrival.IsFolder()) return;
    if (checked_.size() >= kMostRemembered) checked_.clear();
    checked_[ToLower(arrival.path)] = StampOf(arrival);
}

}  // namespace bastion
