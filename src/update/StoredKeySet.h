// The keys a definition update deletes, asked for by stored line. Every
// line of a file is asked, and most are kept, so the question is answered
// from the stored bytes without decoding the line: a key's signature (its
// length and its first and last sixteen bytes, with letter case folded in
// the stored form) settles it for keys of up to 32 bytes, a small bit
// filter answers most questions before the table is looked at, and only a
// longer key whose signature matches is decoded and compared whole.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace bastion {

class StoredKeySet {
public:
    // keys: decoded and lower-cased, as StoredLineKey gives them, each once;
    // they must outlive the set.
    explicit StoredKeySet(const std::vector<std::string>& keys);

    bool Empty() const { return keys_.empty(); }
    // Whether the key of the stored line (its text before the first "=")
    // is one of the keys, compared without regard to letter case.
    bool Holds(std::string_view storedLine) const;

    struct Signature {
        std::uint64_t head[2] = {};
        std::uint64_t tail[2] = {};
        std::uint64_t length = 0;

        bool operator==(const Signature&) const = default;
        // Head and tail cover the whole key.
        bool Whole() const { return length <= 32; }
        std::uint64_t Hash() const;
    };

private:
    std::size_t FilterWord(std::uint64_t hash) const { return (hash >> 40) & (filter_.size() - 1); }
    static std::uint64_t FilterBits(std::uint64_t hash) {
        return (std::uint64_t{1} << ((hash >> 28) & 63)) | (std::uint64_t{1} << ((hash >> 34) & 63));
    }

    const std::vector<std::string>& keys_;
    // The keys longer than a signature holds, for the full comparison.
    std::unordered_set<std::string_view> longKeys_;
    std::vector<Signature> signatures_;
    // Open addressing: each slot holds an index into signatures_ plus one,
    // or 0 when free.
    std::vector<std::uint32_t> slots_;
    std::vector<std::uint64_t> filter_;
};

}  // namespace bastion
