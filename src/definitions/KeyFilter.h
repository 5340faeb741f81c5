// A compact set of key hashes that answers "certainly not there" for almost
// every key not added (a blocked Bloom filter: one 64-bit word per key, three
// bits in it). Most items a walk meets match no definition; this turns them
// away from a small, cache-resident bit array instead of a look-up in a
// large hash table.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "definitions/TableColumn.h"

namespace bastion {

// The bit array alone, sized once for a number of keys. Whoever grows it
// adds every key again, from where it keeps them.
class KeyBits {
public:
    void Add(std::uint64_t hash) { words_.Mutable(Word(hash)) |= Bits(hash); }

    bool MayContain(std::uint64_t hash) const {
        if (words_.empty()) return false;
        const std::uint64_t bits = Bits(hash);
        return (words_[Word(hash)] & bits) == bits;
    }

    void Prefetch(std::uint64_t hash) const {
        if (!words_.empty()) __builtin_prefetch(&words_[Word(hash)]);
    }

    // Empty, with room for this many keys.
    void Resize(std::size_t keys) { words_.assign(std::max<std::size_t>(8, (keys * kBitsPerKey + 63) / 64), 0); }
    std::size_t Room() const { return words_.size() * 64 / kBitsPerKey; }
    std::size_t Bytes() const { return words_.capacity() * sizeof(std::uint64_t); }

    void Clear() { words_.Clear(); }

    // Its array, for a saved image; and reading from one.
    std::span<const std::uint64_t> Words() const { return words_.View(); }
    void Borrow(std::span<const std::uint64_t> words) { words_.Borrow(words); }

private:
    static constexpr std::size_t kBitsPerKey = 16;

    static std::uint64_t Bits(std::uint64_t hash) {
        return (1ull << (hash & 63)) | (1ull << ((hash >> 6) & 63)) | (1ull << ((hash >> 12) & 63));
    }
    // The high half of the hash spread over the words without a division.
    std::size_t Word(std::uint64_t hash) const {
        return static_cast<std::size_t>(((hash >> 32) * static_cast<std::uint64_t>(words_.size())) >> 32);
    }

    TableColumn<std::uint64_t> words_;
};

// The bits with the hashes they were set from, so that it grows by itself.
class KeyFilter {
public:
    void Add(std::uint64_t hash) {
        if (hashes_.size() + 1 > bits_.Room()) Resize(hashes_.size() + 1);
        bits_.Add(hash);
        hashes_.push_back(hash);
    }

    bool MayContain(std::uint64_t hash) const { return bits_.MayContain(hash); }

    // Room for this many keys, so that adding them never grows the array.
    void Reserve(std::size_t keys) {
        hashes_.reserve(keys);
        if (keys > bits_.Room()) Resize(keys);
    }

    void Clear() {
        bits_.Clear();
        hashes_.clear();
    }

private:
    // Doubles the room until it has room for keys, and sets every key
    // again.
    void Resize(std::size_t keys) {
        bits_.Resize(std::max(keys, bits_.Room() * 2));
        for (std::uint64_t hash : hashes_) bits_.Add(hash);
    }

    KeyBits bits_;
    std::vector<std::uint64_t> hashes_;
};

}  // namespace bastion
