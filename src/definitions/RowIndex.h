// Table rows by key: for every distinct key, the rows that carry it in row
// order. Built for the definition tables, where a walk looks up every item
// it meets and almost none is there: a key filter answers most look-ups and
// the slots sit in one array, so neither building nor looking up costs an
// allocation per key. A key that its caller keeps (a table row's own text) is
// referred to rather than copied.
//
// Adding a key only notes it; the slots take in every key noted since the
// last look-up when the next look-up comes. Placing keys one by one between
// the parsing of definition lines would wait on a cache miss in the slot
// array for each; placed together, those misses overlap.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/KeyFilter.h"

namespace bastion {

class RowIndex {
public:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    static std::uint64_t Hash(std::string_view key) { return std::hash<std::string_view>{}(key); }

    RowIndex() = default;
    // Keys may refer to text the index does not own, which a copy could not
    // keep track of; moves keep every key where it is.
    RowIndex(const RowIndex&) = delete;
    RowIndex& operator=(const RowIndex&) = delete;
    RowIndex(RowIndex&&) = default;
    RowIndex& operator=(RowIndex&&) = default;

    // Rows are added in increasing order. Add copies the key; AddKept refers
    // to it, so its text must stay unchanged and in place while it is indexed.
    void Add(std::string_view key, std::uint32_t row);
    void AddKept(std::string_view key, std::uint32_t row);
    // Room for this many keys over rows 0 to rows - 1, so that noting them
    // never grows the arrays.
    void Reserve(std::size_t keys, std::size_t rows);
    // Puts the keys noted since the last look-up into the slots now rather
    // than at the next look-up.
    void Place() const;
    void Clear();

    // The first row with this key (hash = Hash(key)), or kNone.
    std::uint32_t First(std::string_view key, std::uint64_t hash) const {
        if (placed_ != entries_.size()) PlaceNoted();
        if (!filter_.MayContain(hash)) return kNone;
        const std::uint32_t entry = slots_[Find(key, hash)].entry;
        return entry == kNone ? kNone : entries_[entry].first;
    }
    // The next row with the same key, or kNone; row comes from First or Next.
    std::uint32_t Next(std::uint32_t row) const { return next_[row]; }

private:
    // Slots are small so that the array stays in cache while it is filled
    // and searched; what a key needs beyond its hash tag sits in its entry.
    struct Slot {
        std::uint32_t tag = 0;  // the high half of the key's hash
        std::uint32_t entry = kNone;  // kNone: the slot is free
    };
    // One per key noted. A key met again is placed by chaining its row to the
    // entry that holds the key first; its own entry then stays unused.
    struct Entry {
        std::uint64_t hash;
        std::uint32_t first;  // kNone: unused
        std::uint32_t last;
        const char* key;
        std::size_t keyLength;
    };

    static std::uint32_t Tag(std::uint64_t hash) { return static_cast<std::uint32_t>(hash >> 32); }
    // The slot holding the key, or the free slot where it would go.
    std::size_t Find(std::string_view key, std::uint64_t hash) const;
    void PlaceNoted() const;
    void Rebuild(std::size_t slots) const;

    // Filled in by Place, which a look-up may call.
    mutable KeyFilter filter_;
    mutable std::vector<Slot> slots_;
    mutable std::vector<Entry> entries_;
    mutable std::vector<std::uint32_t> next_;
    mutable std::size_t placed_ = 0;  // entries in the slots
    // Keys added by copy. Strings in a deque stay in place as it grows.
    std::deque<std::string> ownKeys_;
};

}  // namespace bastion
