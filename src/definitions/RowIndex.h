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
        const std::size_t slot = Find(key, hash);
        return slots_[slot].first;
    }
    // The next row with the same key, or kNone.
    std::uint32_t Next(std::uint32_t row) const { return next_[row]; }

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t first = kNone;  // kNone: the slot is free
        std::uint32_t last = kNone;
        std::uint32_t keyAt = 0;
        std::uint32_t keyLength = 0;
    };

    // The slot holding the key, or the free slot where it would go.
    std::size_t Find(std::string_view key, std::uint64_t hash) const;
    void Grow();

    KeyFilter filter_;
    std::vector<Slot> slots_;
    std::size_t used_ = 0;
    std::string keys_;
    std::vector<std::uint32_t> next_;
};

}  // namespace bastion
