#include "definitions/RowBlock.h"

#include <algorithm>
#include <limits>

namespace bastion {

namespace {

// Lengths and type numbers take seven bits a byte, the high bit set on
// every byte but the last: almost every one fits in a single byte.
void AppendNumber(std::string& out, std::uint64_t number) {
    while (number >= 0x80) {
        out.push_back(static_cast<char>((number & 0x7F) | 0x80));
        number >>= 7;
    }
    out.push_back(static_cast<char>(number));
}

std::uint64_t ReadNumber(const char* text, std::size_t& at) {
    std::uint64_t number = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(text[at++]);
        number |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if (byte < 0x80) return number;
    }
}

void AppendText(std::string& out, std::string_view text) {
    AppendNumber(out, text.size());
    out.append(text);
}

std::string_view ReadText(const std::string& block, std::size_t& at) {
    const auto length = static_cast<std::size_t>(ReadNumber(block.data(), at));
    const std::string_view text(block.data() + at, length);
    at += length;
    return text;
}

constexpr std::size_t kMostBytes = std::numeric_limits<std::uint32_t>::max();
// The longest a number can be written.
constexpr std::size_t kNumberBytes = 10;

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
    const bool extra = (row.flags & kHasExtra) != 0;
    const std::size_t most = 1 + 5 * kNumberBytes + row.name.size() + row.folder.size() + row.threat.size() +
                             (extra ? row.extra.size() : 0);
    if (most > kMostBytes - text_.size()) return false;
    if (text_.size() + most > text_.capacity()) {
        // Grown by half rather than doubled: the block is most of what the
        // tables hold, and the loader's guess is usually close.
        text_.reserve(std::max(text_.size() + most, text_.capacity() + text_.capacity() / 2));
    }
    starts_.push_back(static_cast<std::uint32_t>(text_.size()));
    text_.push_back(static_cast<char>(row.flags));
    AppendText(text_, row.name);
    AppendText(text_, row.folder);
    AppendText(text_, row.threat);
    AppendNumber(text_, TypeNumber(row.type));
    if (extra) AppendText(text_, row.extra);
    return true;
}

RowBlock::Fields RowBlock::Row(std::size_t row) const {
    Fields fields;
    std::size_t at = starts_[row];
    fields.flags = static_cast<std::uint8_t>(text_[at++]);
    fields.name = ReadText(text_, at);
    fields.folder = ReadText(text_, at);
    fields.threat = ReadText(text_, at);
    fields.type = types_[static_cast<std::size_t>(ReadNumber(text_.data(), at))];
    if ((fields.flags & kHasExtra) != 0) fields.extra = ReadText(text_, at);
    return fields;
}

std::string_view RowBlock::Name(std::size_t row) const {
    std::size_t at = starts_[row] + 1;
    return ReadText(text_, at);
}

std::string_view RowBlock::Folder(std::size_t row) const {
    std::size_t at = starts_[row] + 1;
    ReadText(text_, at);
    return ReadText(text_, at);
}

void RowBlock::Reserve(std::size_t rows, std::size_t bytes) {
    starts_.reserve(rows);
    text_.reserve(std::min(bytes, kMostBytes));
}

void RowBlock::Trim() {
    if (text_.capacity() - text_.size() > text_.size() / 8) text_.shrink_to_fit();
    if (starts_.capacity() - starts_.size() > starts_.size() / 8) starts_.shrink_to_fit();
}

void RowBlock::Clear() {
    text_ = {};
    starts_ = {};
    typeNumbers_.clear();
    types_.clear();
    lastType_ = 0;
}

std::size_t RowBlock::Bytes() const {
    std::size_t bytes = text_.capacity() + starts_.capacity() * sizeof(std::uint32_t);
    for (const std::string& type : types_) bytes += sizeof type + type.capacity();
    return bytes + typeNumbers_.size() * (sizeof(std::string_view) + 2 * sizeof(void*));
}

}  // namespace bastion
