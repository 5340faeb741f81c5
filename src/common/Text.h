// String helpers with the exact semantics the scan, definition and report
// algorithms assume. Text is UTF-8; case folding covers ASCII and the Latin,
// Greek and Cyrillic letters that Windows file names commonly carry.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace bastion {

// Splits at every occurrence of sep and keeps empty pieces: "a|b|" gives
// {"a", "b", ""}; "" gives {""}. An empty separator gives the whole text.
std::vector<std::string> Split(std::string_view text, std::string_view sep);

// Joins pieces with sep between them.
std::string Join(const std::vector<std::string>& pieces, std::string_view sep);

// Removes leading and trailing blanks (' ') only; tabs and line breaks stay.
std::string Trim(std::string_view text);
// The same, as a view into text.
std::string_view TrimmedView(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

std::string ToLower(std::string_view text);
std::string ToUpper(std::string_view text);
// Appends ToLower(text) to out: a reader that lower-cases every line keeps
// one buffer instead of allocating a string per line.
void AppendLower(std::string& out, std::string_view text);

// The first character upper-cased, the rest unchanged.
std::string UpperFirst(std::string_view text);

bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);
bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix);

// True when lower-casing leaves the text as it is: plain ASCII without a
// capital letter.
bool IsLowerCaseAscii(std::string_view text);

// Eight bytes of text from at, the first in the lowest bits.
inline std::uint64_t WordAt(std::string_view text, std::size_t at) {
    std::uint64_t word;
    __builtin_memcpy(&word, text.data() + at, sizeof word);
    return word;
}
// The high bit of each byte of word equal to c. The lowest one marked is
// always equal; a byte above an equal one may be marked without being so.
inline std::uint64_t BytesEqualTo(std::uint64_t word, char c) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
    return (x - kOnes) & ~x & (kOnes << 7);
}
// Which byte of the word the lowest mark stands on (marks not zero).
inline std::size_t FirstMarkedByte(std::uint64_t marks) {
    return static_cast<std::size_t>(__builtin_ctzll(marks) >> 3);
}

// The first c at or after from, or npos: string_view::find without the call
// to the C runtime's memchr, which Wine's runtime walks a byte at a time
// behind an import; the definition loader looks for "[" and "\\" in every
// line it reads. Eight bytes are looked at a time.
inline std::size_t FindByte(std::string_view text, char c, std::size_t from = 0) {
    std::size_t i = from;
    for (; i + 8 <= text.size(); i += 8) {
        if (const std::uint64_t found = BytesEqualTo(WordAt(text, i), c); found != 0) {
            return i + FirstMarkedByte(found);
        }
    }
    for (; i < text.size(); ++i) {
        if (text[i] == c) return i;
    }
    return std::string_view::npos;
}

// Copies n bytes that do not overlap. The short texts of a definition line
// are copied in a few moves here rather than by a call to the C runtime,
// which under Wine costs more than the copy.
inline void CopyBytes(char* to, const char* from, std::size_t n) {
    if (n > 64) {
        std::memcpy(to, from, n);
    } else if (n >= 16) {
        for (std::size_t i = 0; i + 16 < n; i += 16) __builtin_memcpy(to + i, from + i, 16);
        __builtin_memcpy(to + n - 16, from + n - 16, 16);
    } else if (n >= 8) {
        __builtin_memcpy(to, from, 8);
        __builtin_memcpy(to + n - 8, from + n - 8, 8);
    } else if (n >= 4) {
        __builtin_memcpy(to, from, 4);
        __builtin_memcpy(to + n - 4, from + n - 4, 4);
    } else if (n > 0) {
        to[0] = from[0];
        to[n / 2] = from[n / 2];
        to[n - 1] = from[n - 1];
    }
}

// Where the first pair of backslashes begins, or npos.
inline std::size_t FindBackslashPair(std::string_view text) {
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '\\' && text[i - 1] == '\\') return i - 1;
    }
    return std::string_view::npos;
}
// Position of the first occurrence of what at or after from, ignoring case,
// or std::string::npos.
std::size_t FindIgnoreCase(std::string_view text, std::string_view what, std::size_t from = 0);
bool ContainsIgnoreCase(std::string_view text, std::string_view what);
bool Contains(std::string_view text, std::string_view what);

// Replaces every occurrence, left to right, without rescanning replaced text.
std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with);
std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view what, std::string_view with);

// Replaces "\\" by "\" repeatedly until no doubled backslash is left, so
// "a\\\\b" becomes "a\b" (what every definition reader expects of a path).
std::string CollapseBackslashes(std::string_view text);
void CollapseBackslashesInPlace(std::string& text);

// Removes every character of chars from text.
std::string RemoveChars(std::string_view text, std::string_view chars);

// Decimal text of a whole number, and the number with thousands separators
// ("12,345").
std::string ToDecimal(long long value);
std::string WithThousands(long long value);

// Reads the whole text as a decimal whole number (surrounding blanks allowed);
// false when it is not one.
bool ParseWholeNumber(std::string_view text, long long& value);

}  // namespace bastion
