#include "DeltaCache.h"

namespace defserver {

namespace {

// What an entry costs beyond its texts: list and map nodes, the answer's
// control block.
constexpr std::size_t kEntryOverhead = 160;

}  // namespace

std::shared_ptr<const CachedAnswer> DeltaCache::Get(std::uint64_t version, const std::string& key,
                                                    const std::function<CachedAnswer()>& make) {
    std::promise<std::shared_ptr<const CachedAnswer>> promise;
    std::uint64_t serial = 0;
    {
        std::unique_lock<std::mutex> hold(lock_);
        if (version < version_) {
            hold.unlock();
            ++made_;
            return std::make_shared<const CachedAnswer>(make());
        }
        if (version > version_) {
            order_.clear();
            index_.clear();
            bytes_ = 0;
            version_ = version;
        }
        if (const auto found = index_.find(key); found != index_.end()) {
            order_.splice(order_.begin(), order_, found->second);
            const Future kept = found->second->answer;
            // Waited for outside the lock: it may still be in the making.
            hold.unlock();
            return kept.get();
        }
        serial = ++serials_;
        order_.push_front(Entry{key, promise.get_future().share(), serial, 0});
        index_[key] = order_.begin();
    }
    std::shared_ptr<const CachedAnswer> answer;
    try {
        answer = std::make_shared<const CachedAnswer>(make());
    } catch (...) {
        promise.set_exception(std::current_exception());
        std::lock_guard<std::mutex> hold(lock_);
        if (const auto found = index_.find(key); found != index_.end() && found->second->serial == serial) {
            Erase(found->second);
        }
        throw;
    }
    ++made_;
    promise.set_value(answer);
    Keep(version, key, serial, *answer);
    return answer;
}

void DeltaCache::Keep(std::uint64_t version, const std::string& key, std::uint64_t serial, const CachedAnswer& answer) {
    std::lock_guard<std::mutex> hold(lock_);
    const auto found = index_.find(key);
    // Gone meanwhile: pushed out, or the change sets moved on.
    if (version != version_ || found == index_.end() || found->second->serial != serial) return;
    const std::size_t bytes = answer.body.size() + answer.tag.size() + 2 * key.size() + kEntryOverhead;
    if (bytes > capacity_) {
        Erase(found->second);
        return;
    }
    found->second->bytes = bytes;
    bytes_ += bytes;
    while (bytes_ > capacity_ && !order_.empty()) Erase(std::prev(order_.end()));
}

void DeltaCache::Erase(std::list<Entry>::iterator entry) {
    bytes_ -= entry->bytes;
    index_.erase(entry->key);
    order_.erase(entry);
}

std::size_t DeltaCache::Bytes() {
    std::lock_guard<std::mutex> hold(lock_);
    return bytes_;
}

}  // namespace defserver
