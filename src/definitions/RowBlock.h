// The rows of one definition table in one block of text. A row is its
// flags byte, then its name, folder and threat, each as its length and its
// bytes, then the number of its type in the table's list of types (a
// definition set names a handful of types a hundred thousand times), then,
// when the row asks for one, an extra text. Rows are read back as views
// into the block: a row costs its text, a few bytes of lengths and its
// place in the block, and no allocation of its own.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace bastion {

class RowBlock {
public:
    struct Fields {
        std::uint8_t flags = 0;
        std::string_view name;
        std::string_view folder;
        std::string_view threat;
        std::string_view type;
        std::string_view extra;  // empty unless the flags say there is one
    };
    // The flag that says the row carries an extra text; the other bits are
    // the owner's.
    static constexpr std::uint8_t kHasExtra = 0x80;

    RowBlock() = default;
    // The type list is looked up by views into its own texts.
    RowBlock(const RowBlock&) = delete;
    RowBlock& operator=(const RowBlock&) = delete;

    // False when the row does not fit (the block holds at most 4 GiB): then
    // nothing is added.
    bool Append(const Fields& row);
    std::size_t Size() const { return starts_.size(); }
    Fields Row(std::size_t row) const;
    std::uint8_t Flags(std::size_t row) const { return static_cast<std::uint8_t>(text_[starts_[row]]); }
    // The name, or the name and the folder, read without the rest.
    std::string_view Name(std::size_t row) const;
    std::string_view Folder(std::size_t row) const;

    // Room for about this many rows and bytes; a wrong guess costs only a
    // copy.
    void Reserve(std::size_t rows, std::size_t bytes);
    // Gives back room reserved and not used.
    void Trim();
    void Clear();

    // The memory it holds, for the benchmarks.
    std::size_t Bytes() const;

private:
    std::uint32_t TypeNumber(std::string_view type);

    std::string text_;
    std::vector<std::uint32_t> starts_;
    // Every type met, in the order met; a deque keeps each text in place
    // for the views that look it up.
    std::deque<std::string> types_;
    std::unordered_map<std::string_view, std::uint32_t> typeNumbers_;
    std::uint32_t lastType_ = 0;
};

}  // namespace bastion
