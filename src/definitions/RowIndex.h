// Table entries by key: for every distinct key, the entries that carry it
// in increasing order. Built for the definition tables, where a walk looks
// up every item it meets and almost none is there: a key filter answers most
// look-ups, and the slots are one open-addressed array of 32-bit entry
// numbers. The index keeps no key of its own: it asks its owner for the key
// of an entry when it compares (Keys::Equal) or places one again when it
// grows (Keys::Hash), so an entry costs its slot, one link and two bytes of
// filter.
//
// The entries of one key form a ring: the slot holds the last, and each
// entry links to the next, the last back to the first. Adding to a key and
// finding its first entry are then one step each, however many entries
// share it.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "definitions/KeyFilter.h"

namespace bastion {

class RowIndex {
public:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    static std::uint64_t Hash(std::string_view key) { return std::hash<std::string_view>{}(key); }

    // Entries are added in increasing order, each with its key and its hash.
    // Keys: bool Equal(std::uint32_t entry, std::string_view key) const and
    // std::uint64_t Hash(std::uint32_t entry) const.
    template <typename Keys>
    void Add(std::uint32_t entry, std::string_view key, std::uint64_t hash, const Keys& keys);
    // Room for this many keys and for entries 0 to entries - 1, so that
    // adding them never grows the arrays.
    void Reserve(std::size_t keys, std::size_t entries);
    // Gives back the room reserved for entries that never came.
    void Trim();
    void Clear();

    // The first entry with this key (hash = Hash(key)), or kNone.
    template <typename Keys>
    std::uint32_t First(std::string_view key, std::uint64_t hash, const Keys& keys) const;
    // The next entry with the same key, or kNone; entry comes from First or
    // Next.
    std::uint32_t Next(std::uint32_t entry) const {
        const std::uint32_t next = next_[entry];
        return next > entry ? next : kNone;
    }

    // The memory it holds, for the benchmarks.
    std::size_t Bytes() const;

private:
    std::size_t Home(std::uint64_t hash) const {
        // The high half of the hash, spread over the slots without a division.
        return static_cast<std::size_t>(((hash >> 32) * slots_.size()) >> 32);
    }
    std::size_t Following(std::size_t slot) const { return slot + 1 == slots_.size() ? 0 : slot + 1; }
    template <typename Keys>
    void Grow(std::size_t keys, const Keys& owner);

    // The last entry of each key; kNone where free. At most half full.
    std::vector<std::uint32_t> slots_;
    // Per entry, the next entry of its key (the last: the first).
    std::vector<std::uint32_t> next_;
    KeyBits filter_;
    std::size_t keys_ = 0;
};

template <typename Keys>
void RowIndex::Add(std::uint32_t entry, std::string_view key, std::uint64_t hash, const Keys& keys) {
    if ((keys_ + 1) * 2 > slots_.size()) Grow(std::max<std::size_t>(16, (keys_ + 1) * 2), keys);
    if (next_.size() <= entry) next_.resize(static_cast<std::size_t>(entry) + 1, kNone);
    std::size_t slot = Home(hash);
    for (; slots_[slot] != kNone; slot = Following(slot)) {
        const std::uint32_t last = slots_[slot];
        if (!keys.Equal(last, key)) continue;
        next_[entry] = next_[last];
        next_[last] = entry;
        slots_[slot] = entry;
        return;
    }
    slots_[slot] = entry;
    next_[entry] = entry;
    filter_.Add(hash);
    ++keys_;
}

template <typename Keys>
std::uint32_t RowIndex::First(std::string_view key, std::uint64_t hash, const Keys& keys) const {
    if (!filter_.MayContain(hash)) return kNone;
    for (std::size_t slot = Home(hash); slots_[slot] != kNone; slot = Following(slot)) {
        const std::uint32_t last = slots_[slot];
        if (keys.Equal(last, key)) return next_[last];
    }
    return kNone;
}

template <typename Keys>
void RowIndex::Grow(std::size_t keys, const Keys& owner) {
    std::vector<std::uint32_t> old(keys * 2, kNone);
    old.swap(slots_);
    filter_.Resize(keys);
    for (std::uint32_t last : old) {
        if (last == kNone) continue;
        const std::uint64_t hash = owner.Hash(last);
        std::size_t slot = Home(hash);
        while (slots_[slot] != kNone) slot = Following(slot);
        slots_[slot] = last;
        filter_.Add(hash);
    }
}

}  // namespace bastion
