#include "definitions/RowIndex.h"

namespace bastion {

void RowIndex::Reserve(std::size_t keys, std::size_t entries) {
    // Placed again only while empty: growing a filled index needs its keys.
    if (keys_ == 0 && keys * 2 > slots_.size()) {
        slots_.assign(keys * 2, kNone);
        filter_.Resize(keys);
    }
    next_.reserve(entries);
}

void RowIndex::Trim() {
    if (next_.capacity() - next_.size() > next_.size() / 8) next_.shrink_to_fit();
}

void RowIndex::Clear() {
    slots_ = {};
    next_ = {};
    filter_.Clear();
    keys_ = 0;
}

std::size_t RowIndex::Bytes() const {
    return (slots_.capacity() + next_.capacity()) * sizeof(std::uint32_t) + filter_.Bytes();
}

}  // namespace bastion
