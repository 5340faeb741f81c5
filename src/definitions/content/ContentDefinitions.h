// Content definitions: a threat known by what its file holds, whatever it is
// called and wherever it lies. A decoded line of "ContentDefinition.dat" is
//   <size in bytes>:<SHA-256, 64 hex digits>=<threat name>|<threat type>
// and its record key is "<size>:<sha256>".
//
// The table answers the question every walked file asks, "does any
// definition have this size?", without touching a hash: the folder walk
// lists each file's size for nothing, so only files of a defined size are
// ever read. Its records are fixed and small (size, hash, and where the
// threat's text lies in one block shared by the records that name the same
// threat), sorted by size and hash.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Crypto.h"

namespace bastion {

struct ContentLine {
    std::uint64_t size = 0;
    platform::Sha256Digest sha256{};
    // The threat's name: the text after the first "=" up to the next "|" or
    // "=", trimmed.
    std::string_view threat;
    // The threat type: the text after that "|" up to a further "|", trimmed.
    std::string_view type;
};

// A decoded line's fields, as views into it; nullopt for a line that is not
// a content definition (no size, a hash that is not 64 hex digits, no
// threat name).
std::optional<ContentLine> ParseContentDefinition(std::string_view line);

// 64 lower-case hex digits.
std::string Sha256Hex(const platform::Sha256Digest& digest);

class ContentTable {
public:
    struct Match {
        std::string_view threat;
        std::string_view type;
    };

    // About this many lines of this many bytes are coming: room for them at
    // once, so that the table never holds a grown copy beside itself.
    void Reserve(std::size_t lines, std::size_t bytes);
    // False when the table is full (its text would pass 4 GiB): nothing is
    // added.
    bool Add(const ContentLine& line);
    // Sorts what was added and gives back the room no line took. Look-ups
    // are valid only after it.
    void Finish();
    void Clear();

    std::size_t Size() const { return records_.size(); }
    // Whether a file of this size could be any definition's: the walk asks
    // this for every file it meets.
    bool HasSize(std::uint64_t size) const;
    // The definition for this content; of several with one key, always the
    // same one.
    std::optional<Match> Find(std::uint64_t size, const platform::Sha256Digest& sha256) const;

    // The memory it holds, for the benchmarks.
    std::size_t Bytes() const;

private:
    // 44 bytes: the size in two halves keeps the record free of the padding
    // an 8-byte member would bring.
    struct Record {
        std::uint32_t sizeLow;
        std::uint32_t sizeHigh;
        platform::Sha256Digest sha256;
        // Where "threat|type" starts in text_; it ends at a "\n".
        std::uint32_t text;
        std::uint64_t Size() const { return (std::uint64_t{sizeHigh} << 32) | sizeLow; }
    };
    static_assert(sizeof(Record) == 44);

    // The first record not smaller than this size.
    std::vector<Record>::const_iterator FirstOfSize(std::uint64_t size) const;
    // Where the text "threat|type" is kept: one copy for records that name
    // the same threat, as hash lists name a family thousands of times.
    std::optional<std::uint32_t> TextOffset(std::string_view threat, std::string_view type);

    std::vector<Record> records_;
    std::string text_;
    std::uint64_t smallest_ = UINT64_MAX;
    std::uint64_t largest_ = 0;
    // While loading: the texts kept so far, by their text, up to a bound so
    // that a list of distinct names costs no more than their text.
    std::vector<std::uint32_t> recentTexts_;
    std::size_t keptTexts_ = 0;
};

}  // namespace bastion
