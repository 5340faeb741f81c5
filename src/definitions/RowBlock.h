// The rows of one definition table in one block of text. A row is its
// flags byte, then its name, threat and folder, each as its length and its
// bytes, then the number of its type in the table's list of types (a
// definition set names a handful of types a hundred thousand times). Rows
// are read back as views into the block: a row costs its text and a few
// bytes of lengths, and no allocation of its own. A loaded row is no longer
// than the line it comes from. Only every fourth row's place is noted; a row
// is found from the one noted before it.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "definitions/TableColumn.h"

namespace bastion {

class RowBlock {
public:
    struct Fields {
        std::uint8_t flags = 0;  // the owner's
        std::string_view name;
        std::string_view threat;
        std::string_view folder;
        std::string_view type;
    };

    RowBlock() = default;
    // The type list is looked up by views into its own texts.
    RowBlock(const RowBlock&) = delete;
    RowBlock& operator=(const RowBlock&) = delete;

    // False when the block is full (4 GiB): nothing is added.
    bool Append(const Fields& row);
    // Room for about this many bytes, so that loading copies nothing; room
    // that is never used is never touched.
    void Reserve(std::size_t bytes);
    // Gives back room reserved and not used, when it is much.
    void Trim();

    std::size_t Size() const { return rows_; }
    Fields Row(std::size_t row) const;
    std::uint8_t Flags(std::size_t row) const { return static_cast<std::uint8_t>(bytes_[Start(row)]); }
    // The name alone, read without the rest.
    std::string_view Name(std::size_t row) const;

    void Clear();

    // The memory it holds, for the benchmarks.
    std::size_t Bytes() const;

    // A saved image: the rows' text and marks as they lie in memory, and
    // the types in order.
    struct Image {
        std::uint64_t rows = 0;
        std::string_view text;
        std::span<const std::uint32_t> marks;
        std::vector<std::string_view> types;
    };
    Image Saved() const;
    // Reads from an image whose text and marks outlive it; false (and
    // empty) unless every row lies whole within the text, so that reading
    // any row stays inside it.
    bool Borrow(const Image& image);

private:
    static constexpr std::size_t kRowsPerMark = 4;

    std::uint32_t TypeNumber(std::string_view type);
    // Where the row begins in the text.
    std::size_t Start(std::size_t row) const;

    std::string_view Text() const { return {text_, size_}; }
    // Gives the block exactly this much room, keeping what it holds.
    void Reallocate(std::size_t capacity);

    // Rows are written straight into the block, without a call to the C
    // runtime for each of their texts: a block of its own rather than a
    // string, whose only way to take bytes is such a call.
    std::unique_ptr<char[]> bytes_;
    // Where the rows are read: bytes_, or an image's text.
    const char* text_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    std::size_t rows_ = 0;
    // Where rows 0, 4, 8, ... begin.
    TableColumn<std::uint32_t> marks_;
    // Every type met, in the order met; a deque keeps each text in place
    // for the views that look it up.
    std::deque<std::string> types_;
    std::unordered_map<std::string_view, std::uint32_t> typeNumbers_;
    std::uint32_t lastType_ = 0;
};

}  // namespace bastion
