#include "definitions/RowIndex.h"

namespace bastion {

std::size_t RowIndex::Find(std::string_view key, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = static_cast<std::size_t>(hash) & mask;; slot = (slot + 1) & mask) {
        const Slot& entry = slots_[slot];
        if (entry.first == kNone) return slot;
        if (entry.hash == hash && std::string_view(keys_).substr(entry.keyAt, entry.keyLength) == key) return slot;
    }
}

void RowIndex::Grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& entry : old) {
        if (entry.first == kNone) continue;
        std::size_t slot = static_cast<std::size_t>(entry.hash) & mask;
        while (slots_[slot].first != kNone) slot = (slot + 1) & mask;
        slots_[slot] = entry;
    }
}

void RowIndex::Add(std::string_view key, std::uint32_t row) {
    // At most half full, so probes stay short.
    if ((used_ + 1) * 2 > slots_.size()) Grow();
    if (next_.size() <= row) next_.resize(static_cast<std::size_t>(row) + 1, kNone);
    const std::uint64_t hash = Hash(key);
    Slot& entry = slots_[Find(key, hash)];
    if (entry.first == kNone) {
        entry.hash = hash;
        entry.first = row;
        entry.keyAt = static_cast<std::uint32_t>(keys_.size());
        entry.keyLength = static_cast<std::uint32_t>(key.size());
        keys_.append(key);
        filter_.Add(hash);
        ++used_;
    } else {
        next_[entry.last] = row;
    }
    entry.last = row;
}

void RowIndex::Clear() {
    filter_.Clear();
    slots_.clear();
    used_ = 0;
    keys_.clear();
    next_.clear();
}

}  // namespace bastion
