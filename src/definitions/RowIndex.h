// Table entries by key: for every distinct key, the entries that carry it
// in increasing order. Built for the definition tables, where a walk looks
// up every item it meets and almost none is there: a key filter answers most
// look-ups, and the slots are one open-addressed array of 32-bit entry
// numbers with a byte of each key's hash beside it. The index keeps no key
// of its own: it asks its owner whether an entry's key equals the one looked
// up (Keys::Equal) only when that byte agrees, and for an entry's hash
// (Keys::Hash) only when it grows past the room reserved.
//
// A key's slot holds its last entry. The few keys that several entries
// share link them in a ring (each to the next, the last back to the first)
// kept apart, so that a key of one entry, almost every key, costs its slot
// alone. Adding to a key and finding its first entry are one step each,
// however many entries share it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "definitions/KeyFilter.h"
#include "definitions/TableColumn.h"

namespace bastion {

class RowIndex {
public:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    static std::uint64_t Hash(std::string_view key) { return std::hash<std::string_view>{}(key); }

    // Entries are added in increasing order, each with its key and its hash.
    // Keys: bool Equal(std::uint32_t entry, std::string_view key) const and
    // std::uint64_t Hash(std::uint32_t entry) const.
    template <typename Keys>
    void Add(std::uint32_t entry, std::string_view key, std::uint64_t hash, const Keys& keys) {
        Insert(entry, hash, [&](std::uint32_t held) { return keys.Equal(held, key); }, keys);
    }
    // The same for an entry whose key was worked out before and is no
    // longer at hand: Keys also answers whether two entries have the same
    // key, bool Same(std::uint32_t a, std::uint32_t b) const.
    template <typename Keys>
    void AddKnown(std::uint32_t entry, std::uint64_t hash, const Keys& keys) {
        Insert(entry, hash, [&](std::uint32_t held) { return keys.Same(held, entry); }, keys);
    }
    // Asks the processor for the memory that adding a key with this hash
    // will touch: a loader that asks a few keys ahead has the waits overlap
    // instead of adding up.
    void Prefetch(std::uint64_t hash) const;
    // Room for this many keys, so that adding them never grows the slots.
    void Reserve(std::size_t keys);
    void Clear();

    // The first entry with this key (hash = Hash(key)), or kNone.
    template <typename Keys>
    std::uint32_t First(std::string_view key, std::uint64_t hash, const Keys& keys) const {
        const std::size_t slot = Find(key, hash, keys);
        if (slot == kNoSlot) return kNone;
        const std::uint32_t last = slots_[slot];
        const std::uint32_t first = links_.Find(last);
        return first == kNone ? last : first;
    }
    // The next entry with the same key, or kNone; entry comes from First or
    // Next.
    std::uint32_t Next(std::uint32_t entry) const {
        const std::uint32_t next = links_.Find(entry);
        return next != kNone && next > entry ? next : kNone;
    }

    // The memory it holds, for the benchmarks.
    std::size_t Bytes() const;

    // A saved image: its arrays, each as it lies in memory.
    struct Image {
        std::uint64_t keys = 0;
        std::span<const std::uint32_t> slots;
        std::span<const std::uint8_t> tags;
        std::uint64_t links = 0;
        std::span<const std::uint64_t> linkCells;
        std::span<const std::uint64_t> filter;
    };
    Image Saved() const;
    // Reads from an image whose arrays outlive it; false (and empty) when
    // the image could not have been saved by an index of entries below
    // entryLimit, so that no look-up can run past an array.
    bool Borrow(const Image& image, std::uint32_t entryLimit);

private:
    static constexpr std::size_t kNoSlot = SIZE_MAX;

    // Entry to entry, for the rings of keys that several entries share.
    class Links {
    public:
        std::uint32_t Find(std::uint32_t from) const;
        void Set(std::uint32_t from, std::uint32_t to);
        void Clear() { cells_.Clear(); count_ = 0; }
        std::size_t Bytes() const { return cells_.capacity() * sizeof(std::uint64_t); }
        std::size_t Count() const { return count_; }
        std::span<const std::uint64_t> Cells() const { return cells_.View(); }
        bool Borrow(std::span<const std::uint64_t> cells, std::size_t count, std::uint32_t entryLimit);

    private:
        std::size_t Home(std::uint32_t from) const {
            return static_cast<std::size_t>((std::uint64_t{from * 0x9E3779B9u} * cells_.size()) >> 32);
        }
        // from in the high half, to in the low; all ones where free.
        TableColumn<std::uint64_t> cells_;
        std::size_t count_ = 0;
    };

    // Bits that neither the slot (the high half) nor the filter (the lowest
    // eighteen) is chosen by: keys in neighbouring slots must rarely share
    // their byte, or every step of a probe asks the owner for a key.
    static std::uint8_t Tag(std::uint64_t hash) { return static_cast<std::uint8_t>(hash >> 24); }
    std::size_t Home(std::uint64_t hash) const {
        // The high half of the hash spread over the slots without a division.
        return static_cast<std::size_t>(((hash >> 32) * slots_.size()) >> 32);
    }
    std::size_t Following(std::size_t slot) const { return slot + 1 == slots_.size() ? 0 : slot + 1; }
    template <typename Keys>
    std::size_t Find(std::string_view key, std::uint64_t hash, const Keys& keys) const {
        return FindWhere(hash, [&](std::uint32_t held) { return keys.Equal(held, key); });
    }
    // The slot of the key whose held entry matches(entry), or kNoSlot.
    template <typename Matches>
    std::size_t FindWhere(std::uint64_t hash, const Matches& matches) const;
    template <typename Keys, typename Matches>
    void Insert(std::uint32_t entry, std::uint64_t hash, const Matches& matches, const Keys& keys);
    // Slots for keys at most seven in ten full; the filter sized to match.
    void Size(std::size_t keys);
    void Place(std::uint32_t last, std::uint64_t hash);
    template <typename Keys>
    void Grow(const Keys& keys);

    // The last entry of each key; kNone where free.
    TableColumn<std::uint32_t> slots_;
    TableColumn<std::uint8_t> tags_;
    Links links_;
    KeyBits filter_;
    std::size_t keys_ = 0;
};

template <typename Matches>
std::size_t RowIndex::FindWhere(std::uint64_t hash, const Matches& matches) const {
    if (!filter_.MayContain(hash)) return kNoSlot;
    const std::uint8_t tag = Tag(hash);
    for (std::size_t slot = Home(hash); slots_[slot] != kNone; slot = Following(slot)) {
        if (tags_[slot] == tag && matches(slots_[slot])) return slot;
    }
    return kNoSlot;
}

template <typename Keys, typename Matches>
void RowIndex::Insert(std::uint32_t entry, std::uint64_t hash, const Matches& matches, const Keys& keys) {
    if (const std::size_t slot = keys_ == 0 ? kNoSlot : FindWhere(hash, matches); slot != kNoSlot) {
        const std::uint32_t last = slots_[slot];
        const std::uint32_t first = links_.Find(last);
        links_.Set(entry, first == kNone ? last : first);
        links_.Set(last, entry);
        slots_.Mutable(slot) = entry;
        return;
    }
    if ((keys_ + 1) * 10 > slots_.size() * 7) Grow(keys);
    Place(entry, hash);
    filter_.Add(hash);
    ++keys_;
}

template <typename Keys>
void RowIndex::Grow(const Keys& keys) {
    const std::vector<std::uint32_t> old = slots_.Take();
    Size(std::max<std::size_t>(16, keys_ * 2));
    for (std::uint32_t last : old) {
        if (last == kNone) continue;
        const std::uint64_t hash = keys.Hash(last);
        Place(last, hash);
        filter_.Add(hash);
    }
}

}  // namespace bastion
