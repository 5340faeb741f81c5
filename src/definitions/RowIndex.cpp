#include "definitions/RowIndex.h"

namespace bastion {

std::size_t RowIndex::Find(std::string_view key, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    const std::uint32_t tag = Tag(hash);
    for (std::size_t slot = static_cast<std::size_t>(hash) & mask;; slot = (slot + 1) & mask) {
        const Slot& probe = slots_[slot];
        if (probe.entry == kNone) return slot;
        if (probe.tag != tag) continue;
        const Entry& entry = entries_[probe.entry];
        if (entry.hash == hash && std::string_view(entry.key, entry.keyLength) == key) return slot;
    }
}

void RowIndex::Rebuild(std::size_t slots) const {
    slots_.assign(slots, Slot{});
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t e = 0; e < placed_; ++e) {
        if (entries_[e].first == kNone) continue;
        std::size_t slot = static_cast<std::size_t>(entries_[e].hash) & mask;
        while (slots_[slot].entry != kNone) slot = (slot + 1) & mask;
        slots_[slot] = {Tag(entries_[e].hash), static_cast<std::uint32_t>(e)};
    }
}

void RowIndex::Place() const {
    if (placed_ != entries_.size()) PlaceNoted();
}

void RowIndex::PlaceNoted() const {
    // At most half full, so probes stay short.
    std::size_t slots = slots_.empty() ? 16 : slots_.size();
    while (entries_.size() * 2 > slots) slots *= 2;
    if (slots != slots_.size()) Rebuild(slots);
    const std::size_t mask = slots_.size() - 1;
    constexpr std::size_t kAhead = 16;
    for (; placed_ < entries_.size(); ++placed_) {
        if (placed_ + kAhead < entries_.size()) {
            __builtin_prefetch(&slots_[static_cast<std::size_t>(entries_[placed_ + kAhead].hash) & mask]);
        }
        Entry& noted = entries_[placed_];
        Slot& slot = slots_[Find(std::string_view(noted.key, noted.keyLength), noted.hash)];
        if (slot.entry == kNone) {
            slot = {Tag(noted.hash), static_cast<std::uint32_t>(placed_)};
            filter_.Add(noted.hash);
            continue;
        }
        Entry& holder = entries_[slot.entry];
        next_[holder.last] = noted.first;
        holder.last = noted.first;
        noted.first = kNone;
    }
}

void RowIndex::Reserve(std::size_t keys, std::size_t rows) {
    entries_.reserve(keys);
    next_.reserve(rows);
    filter_.Reserve(keys);
}

void RowIndex::AddKept(std::string_view key, std::uint32_t row) {
    if (next_.size() <= row) next_.resize(static_cast<std::size_t>(row) + 1, kNone);
    entries_.push_back({Hash(key), row, row, key.data(), key.size()});
}

void RowIndex::Add(std::string_view key, std::uint32_t row) { AddKept(ownKeys_.emplace_back(key), row); }

void RowIndex::Clear() {
    filter_.Clear();
    slots_.clear();
    entries_.clear();
    ownKeys_.clear();
    next_.clear();
    placed_ = 0;
}

}  // namespace bastion
