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
        if (entry.hash == hash && std::string_view(keys_).substr(entry.keyAt, entry.keyLength) == key) return slot;
    }
}

void RowIndex::Grow() {
    slots_.assign(slots_.empty() ? 16 : slots_.size() * 2, Slot{});
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t e = 0; e < entries_.size(); ++e) {
        std::size_t slot = static_cast<std::size_t>(entries_[e].hash) & mask;
        while (slots_[slot].entry != kNone) slot = (slot + 1) & mask;
        slots_[slot] = {Tag(entries_[e].hash), static_cast<std::uint32_t>(e)};
    }
}

void RowIndex::Add(std::string_view key, std::uint32_t row) {
    // At most half full, so probes stay short.
    if ((entries_.size() + 1) * 2 > slots_.size()) Grow();
    if (next_.size() <= row) next_.resize(static_cast<std::size_t>(row) + 1, kNone);
    const std::uint64_t hash = Hash(key);
    Slot& slot = slots_[Find(key, hash)];
    if (slot.entry == kNone) {
        slot = {Tag(hash), static_cast<std::uint32_t>(entries_.size())};
        entries_.push_back({hash, row, row, keys_.size(), key.size()});
        keys_.append(key);
        filter_.Add(hash);
        return;
    }
    Entry& entry = entries_[slot.entry];
    next_[entry.last] = row;
    entry.last = row;
}

void RowIndex::Clear() {
    filter_.Clear();
    slots_.clear();
    entries_.clear();
    keys_.clear();
    next_.clear();
}

}  // namespace bastion
