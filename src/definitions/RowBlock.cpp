#include "definitions/RowBlock.h"

#include <algorithm>
#include <limits>

#include "common/PackedText.h"

namespace bastion {

namespace {

// Past one row: its flags, three texts and its type.
std::size_t SkipRow(std::string_view block, std::size_t at) {
    ++at;
    for (int text = 0; text < 3; ++text) ReadPackedText(block, at);
    ReadPackedNumber(block, at);
    return at;
}

constexpr std::size_t kMostBytes = std::numeric_limits<std::uint32_t>::max();

}  // namespace

std::uint32_t RowBlock::TypeNumber(std::string_view type) {
    // Lines of one type mostly come together.
    if (lastType_ < types_.size() && types_[lastType_] == type) return lastType_;
    if (const auto found = typeNumbers_.find(type); found != typeNumbers_.end()) return lastType_ = found->second;
    lastType_ = static_cast<std::uint32_t>(types_.size());
    typeNumbers_.emplace(types_.emplace_back(type), lastType_);
    return lastType_;
}

bool RowBlock::Append(const Fields& row) {
    constexpr std::size_t kNumberBytes = 10;
    const std::size_t most = 1 + 4 * kNumberBytes + row.name.size() + row.threat.size() + row.folder.size();
    if (most > kMostBytes - text_.size()) return false;
    if (text_.size() + most > text_.capacity()) {
        // Grown by half rather than doubled: the block is most of what the
        // tables hold.
        text_.reserve(std::max(text_.size() + most, text_.capacity() + text_.capacity() / 2));
    }
    if (rows_ % kRowsPerMark == 0) marks_.push_back(static_cast<std::uint32_t>(text_.size()));
    ++rows_;
    text_.push_back(static_cast<char>(row.flags));
    AppendPackedText(text_, row.name);
    AppendPackedText(text_, row.threat);
    AppendPackedText(text_, row.folder);
    AppendPackedNumber(text_, TypeNumber(row.type));
    return true;
}

std::size_t RowBlock::Start(std::size_t row) const {
    std::size_t at = marks_[row / kRowsPerMark];
    for (std::size_t skipped = row % kRowsPerMark; skipped > 0; --skipped) at = SkipRow(text_, at);
    return at;
}

void RowBlock::Reserve(std::size_t bytes) {
    text_.reserve(std::min(bytes, kMostBytes));
}

void RowBlock::Trim() {
    if (text_.capacity() - text_.size() > text_.size() / 4) text_.shrink_to_fit();
    if (marks_.capacity() - marks_.size() > marks_.size() / 4) marks_.shrink_to_fit();
}

RowBlock::Fields RowBlock::Row(std::size_t row) const {
    Fields fields;
    std::size_t at = Start(row);
    fields.flags = static_cast<std::uint8_t>(text_[at++]);
    fields.name = ReadPackedText(text_, at);
    fields.threat = ReadPackedText(text_, at);
    fields.folder = ReadPackedText(text_, at);
    fields.type = types_[static_cast<std::size_t>(ReadPackedNumber(text_, at))];
    return fields;
}

std::string_view RowBlock::Name(std::size_t row) const {
    std::size_t at = Start(row) + 1;
    return ReadPackedText(text_, at);
}

void RowBlock::Clear() {
    text_ = {};
    rows_ = 0;
    marks_ = {};
    typeNumbers_.clear();
    types_.clear();
    lastType_ = 0;
}

std::size_t RowBlock::Bytes() const {
    std::size_t bytes = text_.capacity() + marks_.capacity() * sizeof(std::uint32_t);
    for (const std::string& type : types_) bytes += sizeof type + type.capacity();
    return bytes + typeNumbers_.size() * (sizeof(std::string_view) + 2 * sizeof(void*));
}

}  // namespace bastion
