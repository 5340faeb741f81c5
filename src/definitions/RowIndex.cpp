#include "definitions/RowIndex.h"

namespace bastion {

namespace {
constexpr std::uint64_t kFreeCell = UINT64_MAX;
}  // namespace

std::uint32_t RowIndex::Links::Find(std::uint32_t from) const {
    if (cells_.empty()) return kNone;
    for (std::size_t cell = Home(from);; cell = cell + 1 == cells_.size() ? 0 : cell + 1) {
        const std::uint64_t held = cells_[cell];
        if (held == kFreeCell) return kNone;
        if (static_cast<std::uint32_t>(held >> 32) == from) return static_cast<std::uint32_t>(held);
    }
}

void RowIndex::Links::Set(std::uint32_t from, std::uint32_t to) {
    if ((count_ + 1) * 2 > cells_.size()) {
        std::vector<std::uint64_t> old(std::max<std::size_t>(16, cells_.size() * 2), kFreeCell);
        cells_.Swap(old);
        count_ = 0;
        for (std::uint64_t held : old) {
            if (held != kFreeCell) Set(static_cast<std::uint32_t>(held >> 32), static_cast<std::uint32_t>(held));
        }
    }
    const std::uint64_t link = (std::uint64_t{from} << 32) | to;
    for (std::size_t cell = Home(from);; cell = cell + 1 == cells_.size() ? 0 : cell + 1) {
        std::uint64_t& held = cells_.Mutable(cell);
        if (held == kFreeCell) {
            held = link;
            ++count_;
            return;
        }
        if (static_cast<std::uint32_t>(held >> 32) == from) {
            held = link;
            return;
        }
    }
}

void RowIndex::Size(std::size_t keys) {
    const std::size_t slots = std::max<std::size_t>(16, keys * 10 / 7 + 1);
    slots_.assign(slots, kNone);
    tags_.assign(slots, 0);
    filter_.Resize(keys);
}

void RowIndex::Place(std::uint32_t last, std::uint64_t hash) {
    std::size_t slot = Home(hash);
    while (slots_[slot] != kNone) slot = Following(slot);
    slots_.Mutable(slot) = last;
    tags_.Mutable(slot) = Tag(hash);
}

void RowIndex::Prefetch(std::uint64_t hash) const {
    if (slots_.empty()) return;
    const std::size_t slot = Home(hash);
    __builtin_prefetch(&slots_[slot]);
    __builtin_prefetch(&tags_[slot]);
    filter_.Prefetch(hash);
}

void RowIndex::Reserve(std::size_t keys) {
    // Placed again only while empty: growing a filled index asks for keys.
    if (keys_ == 0 && keys * 10 > slots_.size() * 7) Size(keys);
}

void RowIndex::Clear() {
    slots_.Clear();
    tags_.Clear();
    links_.Clear();
    filter_.Clear();
    keys_ = 0;
}

bool RowIndex::Links::Borrow(std::span<const std::uint64_t> cells, std::size_t count, std::uint32_t entryLimit) {
    // Find stops at a free cell: there must be one.
    std::size_t used = 0;
    for (const std::uint64_t held : cells) {
        if (held == kFreeCell) continue;
        if (static_cast<std::uint32_t>(held >> 32) >= entryLimit || static_cast<std::uint32_t>(held) >= entryLimit) {
            return false;
        }
        ++used;
    }
    if (used != count || (!cells.empty() && used >= cells.size())) return false;
    cells_.Borrow(cells);
    count_ = count;
    return true;
}

RowIndex::Image RowIndex::Saved() const {
    return {keys_, slots_.View(), tags_.View(), links_.Count(), links_.Cells(), filter_.Words()};
}

bool RowIndex::Borrow(const Image& image, std::uint32_t entryLimit) {
    Clear();
    // A probe stops at a free slot: there must be one.
    std::size_t used = 0;
    for (const std::uint32_t last : image.slots) {
        if (last == kNone) continue;
        if (last >= entryLimit) return false;
        ++used;
    }
    // Without slots no look-up may get past the filter.
    const bool fits = image.slots.size() == image.tags.size() && used == image.keys &&
                      (image.slots.empty() ? image.filter.empty() : used < image.slots.size()) &&
                      (used == 0 || !image.filter.empty());
    if (!fits || !links_.Borrow(image.linkCells, image.links, entryLimit)) {
        Clear();
        return false;
    }
    slots_.Borrow(image.slots);
    tags_.Borrow(image.tags);
    filter_.Borrow(image.filter);
    keys_ = used;
    return true;
}

std::size_t RowIndex::Bytes() const {
    return slots_.capacity() * sizeof(std::uint32_t) + tags_.capacity() + links_.Bytes() + filter_.Bytes();
}

}  // namespace bastion
