// Table rows by key: for every distinct key, the rows that carry it in row
// order. Built for the definition tables, where a walk looks up every item
// it meets and almost none is there: a key filter answers most look-ups, the
// keys sit in one text arena and the slots in one array, so neither building
// nor looking up costs an allocation per key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/KeyFilter.h"

namespace bastion {

class RowIndex {
public:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    static std::uint64_t Hash(std::string_view key) { return std::hash<std::string_view>{}(key); }

    // Rows are added in increasing order.
    void Add(std::string_view key, std::uint32_t row);
    void Clear();

    // The first row with this key (hash = Hash(key)), or kNone.
    std::uint32_t First(std::string_view key, std::uint64_t hash) const {
        if (!filter_.MayContain(hash)) return kNone;
        const std::uint32_t entry = slots_[Find(key, hash)].entry;
        return entry == kNone ? kNone : entries_[entry].first;
    }
    // The next row with the same key, or kNone.
    std::uint32_t Next(std::uint32_t row) const { return next_[row]; }

private:
    // Slots are small so that the array stays in cache while it is filled
    // and searched; what a key needs beyond its hash tag sits in its entry.
    struct Slot {
        std::uint32_t tag = 0;  // the high half of the key's hash
        std::uint32_t entry = kNone;  // kNone: the slot is free
    };
    struct Entry {
        std::uint64_t hash;
        std::uint32_t first;
        std::uint32_t last;
        std::size_t keyAt;
        std::size_t keyLength;
    };

    static std::uint32_t Tag(std::uint64_t hash) { return static_cast<std::uint32_t>(hash >> 32); }
    // The slot holding the key, or the free slot where it would go.
    std::size_t Find(std::string_view key, std::uint64_t hash) const;
    void Grow();

    KeyFilter filter_;
    std::vector<Slot> slots_;
    std::vector<Entry> entries_;
    std::string keys_;
    std::vector<std::uint32_t> next_;
};

}  // namespace bastion
