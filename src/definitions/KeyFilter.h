// A compact set of key hashes that answers "certainly not there" for almost
// every key not added (a blocked Bloom filter: one 64-bit word per key, three
// bits in it). Most items a walk meets match no definition; this turns them
// away from a small, cache-resident bit array instead of a look-up in a
// large hash table.
#pragma once

#include <cstdint>
#include <vector>

namespace bastion {

class KeyFilter {
public:
    void Add(std::uint64_t hash) {
        ++count_;
        if (count_ * kBitsPerKey > words_.size() * 64) {
            Grow();
        }
        Set(hash);
        hashes_.push_back(hash);
    }

    bool MayContain(std::uint64_t hash) const {
        if (words_.empty()) return false;
        const std::uint64_t bits = Bits(hash);
        return (words_[Word(hash)] & bits) == bits;
    }

    // Room for this many keys, so that adding them never grows the array.
    void Reserve(std::size_t keys) {
        hashes_.reserve(keys);
        if (keys * kBitsPerKey > words_.size() * 64) Resize(keys);
    }

    void Clear() {
        words_.clear();
        hashes_.clear();
        count_ = 0;
    }

private:
    static constexpr std::size_t kBitsPerKey = 16;

    static std::uint64_t Bits(std::uint64_t hash) {
        return (1ull << (hash & 63)) | (1ull << ((hash >> 6) & 63)) | (1ull << ((hash >> 12) & 63));
    }
    std::size_t Word(std::uint64_t hash) const { return static_cast<std::size_t>(hash >> 20) & (words_.size() - 1); }
    void Set(std::uint64_t hash) { words_[Word(hash)] |= Bits(hash); }

    // Doubles the array (a power of two of words) until it has room for keys,
    // and sets every key again.
    void Grow() { Resize(count_); }
    void Resize(std::size_t keys) {
        std::size_t words = words_.empty() ? 8 : words_.size();
        while (keys * kBitsPerKey > words * 64) words *= 2;
        words_.assign(words, 0);
        for (std::uint64_t hash : hashes_) Set(hash);
    }

    std::vector<std::uint64_t> words_;
    std::vector<std::uint64_t> hashes_;
    std::size_t count_ = 0;
};

}  // namespace bastion
