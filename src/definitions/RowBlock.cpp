#include "definitions/RowBlock.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "common/PackedText.h"
#include "common/Text.h"

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
    if (most > kMostBytes - size_) return false;
    // Grown by half rather than doubled: the block is most of what the
    // tables hold.
    if (size_ + most > capacity_) Reallocate(std::max(size_ + most, capacity_ + capacity_ / 2));
    if (rows_ % kRowsPerMark == 0) marks_.push_back(static_cast<std::uint32_t>(size_));
    ++rows_;
    char* const start = bytes_.get() + size_;
    char* out = start;
    *out++ = static_cast<char>(row.flags);
    out = WritePackedText(out, row.name);
    out = WritePackedText(out, row.threat);
    out = WritePackedText(out, row.folder);
    out = WritePackedNumber(out, TypeNumber(row.type));
    size_ += static_cast<std::size_t>(out - start);
    return true;
}

void RowBlock::Reallocate(std::size_t capacity) {
    auto bytes = std::make_unique_for_overwrite<char[]>(capacity);
    // From an image's text too: a borrowed block becomes its own.
    if (size_ > 0) std::memcpy(bytes.get(), text_, size_);
    bytes_ = std::move(bytes);
    text_ = bytes_.get();
    capacity_ = capacity;
}

std::size_t RowBlock::Start(std::size_t row) const {
    std::size_t at = marks_[row / kRowsPerMark];
    for (std::size_t skipped = row % kRowsPerMark; skipped > 0; --skipped) at = SkipRow(Text(), at);
    return at;
}

void RowBlock::Reserve(std::size_t bytes) {
    if (bytes > capacity_) Reallocate(std::min(bytes, kMostBytes));
}

void RowBlock::Trim() {
    if (capacity_ > size_ && capacity_ - size_ > capacity_ / 4) Reallocate(size_);
    if (marks_.capacity() - marks_.size() > marks_.size() / 4) marks_.shrink_to_fit();
}

RowBlock::Fields RowBlock::Row(std::size_t row) const {
    const std::string_view text = Text();
    Fields fields;
    std::size_t at = Start(row);
    fields.flags = static_cast<std::uint8_t>(text[at++]);
    fields.name = ReadPackedText(text, at);
    fields.threat = ReadPackedText(text, at);
    fields.folder = ReadPackedText(text, at);
    fields.type = types_[static_cast<std::size_t>(ReadPackedNumber(text, at))];
    return fields;
}

std::string_view RowBlock::Name(std::size_t row) const {
    std::size_t at = Start(row) + 1;
    return ReadPackedText(Text(), at);
}

void RowBlock::Clear() {
    bytes_.reset();
    text_ = nullptr;
    size_ = 0;
    capacity_ = 0;
    rows_ = 0;
    marks_.Clear();
    typeNumbers_.clear();
    types_.clear();
    lastType_ = 0;
}

RowBlock::Image RowBlock::Saved() const {
    Image image{rows_, Text(), marks_.View(), {}};
    for (const std::string& type : types_) image.types.push_back(type);
    return image;
}

namespace {

// A packed number read only from within the text; false when it runs past
// the end or past ten bytes.
bool ReadBoundedNumber(std::string_view text, std::size_t& at, std::uint64_t& number) {
    number = 0;
    for (int shift = 0; shift < 70 && at < text.size(); shift += 7) {
        const auto byte = static_cast<unsigned char>(text[at++]);
        number |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if (byte < 0x80) return true;
    }
    return false;
}

// Past one row, reading nothing outside the text; false when the row does
// not lie whole within it or names a type beyond the list.
bool SkipRowWithin(std::string_view text, std::size_t& at, std::size_t types) {
    if (at >= text.size()) return false;
    ++at;
    std::uint64_t number = 0;
    for (int field = 0; field < 3; ++field) {
        if (!ReadBoundedNumber(text, at, number) || number > text.size() - at) return false;
        at += static_cast<std::size_t>(number);
    }
    return ReadBoundedNumber(text, at, number) && number < types;
}

}  // namespace

bool RowBlock::Borrow(const Image& image) {
    Clear();
    const std::size_t rows = static_cast<std::size_t>(image.rows);
    if (image.marks.size() != (rows + kRowsPerMark - 1) / kRowsPerMark) return false;
    std::size_t at = 0;
    for (std::size_t row = 0; row < rows; ++row) {
        if (row % kRowsPerMark == 0 && image.marks[row / kRowsPerMark] != at) return false;
        if (!SkipRowWithin(image.text, at, image.types.size())) return false;
    }
    if (at != image.text.size()) return false;
    for (std::string_view type : image.types) TypeNumber(type);
    if (types_.size() != image.types.size()) {
        Clear();
        return false;
    }
    text_ = image.text.data();
    size_ = image.text.size();
    rows_ = rows;
    marks_.Borrow(image.marks);
    return true;
}

std::size_t RowBlock::Bytes() const {
    std::size_t bytes = capacity_ + marks_.capacity() * sizeof(std::uint32_t);
    for (const std::string& type : types_) bytes += sizeof type + type.capacity();
    return bytes + typeNumbers_.size() * (sizeof(std::string_view) + 2 * sizeof(void*));
}

}  // namespace bastion
