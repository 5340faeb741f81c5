// Content definitions: a threat known by what its file holds, whatever it is
// called and wherever it lies. A decoded line of "ContentDefinition.dat" is
//   <size in bytes>:<SHA-256, 64 hex digits>=<threat name>|<threat type>
// and its record key is "<size>:<sha256>".
//
// The table answers the question every walked file asks, "does any
// definition have this size?", without touching a hash: the folder walk
// lists each file's size for nothing, so only files of a defined size are
// ever read. Its records are fixed and small (size, hash, and where the
// threat's entry lies in one block shared by the records that name the same
// threat, its type a number), sorted by size and hash.
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
// threat name), and for the empty file (size 0, or the empty content's
// hash): public hash lists carry it, and every empty file on the disk would
// be a threat.
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

    std::size_t Size() const;
    // The lines of the file that were no content definition.
    void CountRejected() { ++rejected_; }
    std::size_t Rejected() const { return rejected_; }
    // Whether a file of this size could be any definition's: the walk asks
    // this for every file it meets.
    bool HasSize(std::uint64_t size) const;
    // The definition for this content; of several with one key, always the
    // same one.
    std::optional<Match> Find(std::uint64_t size, const platform::Sha256Digest& sha256) const;

    // The memory it holds, for the benchmarks.
    std::size_t Bytes() const;

private:
    // The type byte of an entry whose type follows its name.
    static constexpr std::uint8_t kTypeInEntry = 255;

    // 40 bytes, for the sizes of all but the largest files: of 100,000
    // definitions with a name each, the records are two thirds of the cost.
    struct Record {
        std::uint32_t size;
        platform::Sha256Digest sha256;
        // Where the threat's entry starts in text_.
        std::uint32_t text;
    };
    static_assert(sizeof(Record) == 40);
    // Sizes of 4 GiB and more, which hardly any definition has.
    struct LargeRecord {
        std::uint64_t size;
        platform::Sha256Digest sha256;
        std::uint32_t text;
    };

    template <typename Records>
    static bool HasSizeIn(const Records& records, std::uint64_t size);
    template <typename Records>
    std::optional<Match> FindIn(const Records& records, std::uint64_t size, const platform::Sha256Digest& sha256) const;
    template <typename Records>
    void SortRecords(Records& records) const;

    // A threat's entry: its type's number, its name and a "\n"; for a type
    // past the numbered ones, kTypeInEntry, the name, "|", the type and "\n".
    // One entry serves every record that names the same threat, as hash
    // lists name a family thousands of times.
    std::optional<std::uint32_t> EntryOffset(std::string_view threat, std::string_view type);
    // The type's number, numbering it if it is new; kTypeInEntry when all
    // numbers are taken.
    std::uint8_t TypeNumber(std::string_view type);
    Match EntryAt(std::uint32_t at) const;

    std::vector<Record> records_;
    std::vector<LargeRecord> largeRecords_;
    // Entries, and each numbered type's text ("type\n").
    std::string text_;
    // Where each numbered type's text starts in text_.
    std::vector<std::uint32_t> types_;
    std::uint8_t lastType_ = 0;
    std::uint64_t smallest_ = UINT64_MAX;
    std::uint64_t largest_ = 0;
    // While loading: the entries kept so far, by their text, up to a bound so
    // that a list of distinct names costs no more than their text.
    std::vector<std::uint32_t> recentTexts_;
    std::size_t keptTexts_ = 0;
    std::size_t rejected_ = 0;
};

}  // namespace bastion
