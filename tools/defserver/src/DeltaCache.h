// The deltas an instance has made, kept for the next client that asks with
// the same date: a delta is made once per client date and version of the
// change sets, however many clients ask. Bounded in bytes; the answer used
// least recently goes first. A new version of the change sets empties it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <future>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace defserver {

struct CachedAnswer {
    std::string body;
    std::string tag;  // its entity tag
};

class DeltaCache {
public:
    explicit DeltaCache(std::size_t capacityBytes) : capacity_(capacityBytes) {}

    // The answer kept for key in this version, or the one make gives, kept
    // when it fits. Requests for one key that arrive while it is made wait
    // for it rather than make it again. A request still holding an older
    // version than the cache gets an answer made for it alone.
    std::shared_ptr<const CachedAnswer> Get(std::uint64_t version, const std::string& key,
                                            const std::function<CachedAnswer()>& make);

    // How many answers were made, and the bytes kept: for tests.
    std::size_t Made() const { return made_; }
    std::size_t Bytes();

private:
    using Future = std::shared_future<std::shared_ptr<const CachedAnswer>>;
    struct Entry {
        std::string key;
        Future answer;
        std::uint64_t serial = 0;
        std::size_t bytes = 0;  // 0 while it is made
    };

    // After an answer was made: counts it, or drops it when it cannot stay.
    void Keep(std::uint64_t version, const std::string& key, std::uint64_t serial, const CachedAnswer& answer);
    void Erase(std::list<Entry>::iterator entry);

    const std::size_t capacity_;
    std::mutex lock_;
    std::uint64_t version_ = 0;
    std::uint64_t serials_ = 0;
    // Most recently used first.
    std::list<Entry> order_;
    std::unordered_map<std::string, std::list<Entry>::iterator> index_;
    std::size_t bytes_ = 0;
    std::atomic<std::size_t> made_{0};
};

}  // namespace defserver
