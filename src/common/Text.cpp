#include "common/Text.h"

#include <limits>

#include "common/CaseMapping.h"
#include "common/Utf.h"

namespace bastion {

namespace {

bool IsAscii(unsigned char byte) {
    return byte < 0x80;
}

// Function objects rather than functions, so that every mapping loop they
// are handed to gets its own inlined copy.
constexpr auto AsciiLower = [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
};

constexpr auto AsciiUpper = [](char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c;
};

bool IsAllAscii(std::string_view text) {
    for (char c : text) {
        if (!IsAscii(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

// Appends text with a code point mapping applied. Characters the mapping
// leaves alone, invalid bytes included, are copied as they are, so the text
// is never altered beyond its letters.
template <typename AsciiMap, typename CodePointMap>
void AppendMapped(std::string& out, std::string_view text, AsciiMap asciiMap, CodePointMap codePointMap) {
    out.reserve(out.size() + text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (IsAscii(static_cast<unsigned char>(text[pos]))) {
            out += asciiMap(text[pos]);
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        char32_t cp = 0;
        NextCodePoint(text, pos, cp);
        const char32_t mapped = codePointMap(cp);
        if (mapped != cp) {
            AppendUtf8(out, mapped);
        } else {
            out.append(text.substr(start, pos - start));
        }
    }
}

template <typename AsciiMap, typename CodePointMap>
std::string MapText(std::string_view text, AsciiMap asciiMap, CodePointMap codePointMap) {
    std::string out;
    AppendMapped(out, text, asciiMap, codePointMap);
    return out;
}

// Most text is ASCII (paths, definition names): mapped byte by byte in one
// pass, and decoded only from the first byte beyond ASCII on.
template <typename AsciiMap, typename CodePointMap>
void AppendCaseMapped(std::string& out, std::string_view text, AsciiMap asciiMap, CodePointMap codePointMap) {
    const std::size_t start = out.size();
    out.resize(start + text.size());
    char* mapped = out.data() + start;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsAscii(static_cast<unsigned char>(text[i]))) {
            out.resize(start + i);
            AppendMapped(out, text.substr(i), asciiMap, codePointMap);
            return;
        }
        mapped[i] = asciiMap(text[i]);
    }
}

std::string FoldText(std::string_view text) {
    return MapText(text, AsciiLower, FoldCodePoint);
}

std::size_t FindAsciiIgnoreCase(std::string_view text, std::string_view what, std::size_t from) {
    if (what.size() > text.size()) return std::string::npos;
    const std::size_t last = text.size() - what.size();
    for (std::size_t i = from; i <= last; ++i) {
        std::size_t j = 0;
        while (j < what.size() && AsciiLower(text[i + j]) == AsciiLower(what[j])) ++j;
        if (j == what.size()) return i;
    }
    return std::string::npos;
}

}  // namespace

std::vector<std::string> Split(std::string_view text, std::string_view sep) {
    std::vector<std::string> pieces;
    if (sep.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(sep, start);
        if (at == std::string_view::npos) {
            pieces.emplace_back(text.substr(start));
            return pieces;
        }
        pieces.emplace_back(text.substr(start, at - start));
        start = at + sep.size();
    }
}

std::string Join(const std::vector<std::string>& pieces, std::string_view sep) {
    std::string out;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) out.append(sep);
        out += pieces[i];
    }
    return out;
}

std::string TrimLeft(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string TrimRight(std::string_view text) {
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

std::string_view TrimmedView(std::string_view text) {
    if (text.empty() || (text.front() != ' ' && text.back() != ' ')) return text;
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string Trim(std::string_view text) { return std::string(TrimmedView(text)); }

bool IsLowerCaseAscii(std::string_view text) {
    for (char c : text) {
        if ((c >= 'A' && c <= 'Z') || !IsAscii(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

void AppendLower(std::string& out, std::string_view text) {
    AppendCaseMapped(out, text, AsciiLower, ToLowerCodePoint);
}

std::string ToLower(std::string_view text) {
    std::string out;
    AppendLower(out, text);
    return out;
}

std::string ToUpper(std::string_view text) {
    std::string out;
    AppendCaseMapped(out, text, AsciiUpper, ToUpperCodePoint);
    return out;
}

std::string UpperFirst(std::string_view text) {
    if (text.empty()) return {};
    std::size_t pos = 0;
    char32_t cp = 0;
    NextCodePoint(text, pos, cp);
    std::string out = ToUpper(text.substr(0, pos));
    out.append(text.substr(pos));
    return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    // Case mapping keeps the UTF-8 length of every character.
    if (a.size() != b.size()) return false;
    std::size_t pos = 0;
    while (pos < a.size()) {
        const auto byteA = static_cast<unsigned char>(a[pos]);
        const auto byteB = static_cast<unsigned char>(b[pos]);
        if (IsAscii(byteA) || IsAscii(byteB)) {
            if (AsciiLower(a[pos]) != AsciiLower(b[pos])) return false;
            ++pos;
            continue;
        }
        std::size_t endA = pos;
        std::size_t endB = pos;
        char32_t cpA = 0;
        char32_t cpB = 0;
        NextCodePoint(a, endA, cpA);
        NextCodePoint(b, endB, cpB);
        if (endA != endB) return false;
        if (cpA == kReplacementCharacter || cpB == kReplacementCharacter) {
            if (a.substr(pos, endA - pos) != b.substr(pos, endB - pos)) return false;
        } else if (FoldCodePoint(cpA) != FoldCodePoint(cpB)) {
            return false;
        }
        pos = endA;
    }
    return true;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.starts_with(prefix);
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.ends_with(suffix);
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && EqualsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

std::size_t FindIgnoreCase(std::string_view text, std::string_view what, std::size_t from) {
    if (from > text.size()) return std::string::npos;
    // Letters outside ASCII never fold to ASCII, so an ASCII needle can be
    // matched byte by byte without decoding the text.
    if (IsAllAscii(what)) return FindAsciiIgnoreCase(text, what, from);
    // Folding keeps every character's length, so positions carry over.
    return FoldText(text).find(FoldText(what), from);
}

bool ContainsIgnoreCase(std::string_view text, std::string_view what) {
    return FindIgnoreCase(text, what) != std::string::npos;
}

bool Contains(std::string_view text, std::string_view what) {
    return text.find(what) != std::string_view::npos;
}

std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with) {
    if (what.empty()) return std::string(text);
    std::string out;
    std::size_t start = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, start)) {
        out.append(text.substr(start, at - start));
        out.append(with);
        start = at + what.size();
    }
    out.append(text.substr(start));
    return out;
}

std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view what, std::string_view with) {
    if (what.empty()) return std::string(text);
    std::string out;
    std::size_t start = 0;
    for (std::size_t at = FindIgnoreCase(text, what); at != std::string::npos;
         at = FindIgnoreCase(text, what, start)) {
        out.append(text.substr(start, at - start));
        out.append(with);
        // A match has the byte length of what: folding keeps lengths.
        start = at + what.size();
    }
    out.append(text.substr(start));
    return out;
}

std::string CollapseBackslashes(std::string_view text) {
    std::string out(text);
    CollapseBackslashesInPlace(out);
    return out;
}

void CollapseBackslashesInPlace(std::string& text) {
    // Replacing pairs until none is left turns every run of backslashes into
    // one. Most paths have none, and then nothing is moved.
    std::size_t kept = FindBackslashPair(text);
    if (kept == std::string::npos) return;
    ++kept;  // the first backslash of the pair stays
    for (std::size_t i = kept; i < text.size(); ++i) {
        if (text[i] == '\\' && text[kept - 1] == '\\') continue;
        text[kept++] = text[i];
    }
    text.resize(kept);
}

std::string RemoveChars(std::string_view text, std::string_view chars) {
    std::string out;
    out.reserve(text.size());
    if (IsAllAscii(chars)) {
        // ASCII bytes never occur inside a multi-byte character.
        for (char c : text) {
            if (chars.find(c) == std::string_view::npos) out += c;
        }
        return out;
    }
    std::size_t pos = 0;
    char32_t cp = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        NextCodePoint(text, pos, cp);
        const std::string_view character = text.substr(start, pos - start);
        bool remove = false;
        std::size_t charPos = 0;
        char32_t removeCp = 0;
        while (!remove && charPos < chars.size()) {
            const std::size_t charStart = charPos;
            NextCodePoint(chars, charPos, removeCp);
            remove = chars.substr(charStart, charPos - charStart) == character;
        }
        if (!remove) out.append(character);
    }
    return out;
}

std::string ToDecimal(long long value) {
    return std::to_string(value);
}

std::string WithThousands(long long value) {
    // The magnitude as unsigned, so the most negative value has one too.
    unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    const std::string digits = std::to_string(magnitude);
    std::string out;
    if (value < 0) out += '-';
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

bool ParseWholeNumber(std::string_view text, long long& value) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return false;
    const std::size_t last = text.find_last_not_of(' ');
    std::string_view body = text.substr(first, last - first + 1);

    bool negative = false;
    if (body.front() == '+' || body.front() == '-') {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    if (body.empty()) return false;

    const unsigned long long limit =
        negative ? static_cast<unsigned long long>(std::numeric_limits<long long>::max()) + 1
                 : static_cast<unsigned long long>(std::numeric_limits<long long>::max());
    unsigned long long magnitude = 0;
    for (char c : body) {
        if (c < '0' || c > '9') return false;
        const unsigned digit = static_cast<unsigned>(c - '0');
        if (magnitude > (limit - digit) / 10) return false;
        magnitude = magnitude * 10 + digit;
    }
    value = negative ? static_cast<long long>(0ULL - magnitude) : static_cast<long long>(magnitude);
    return true;
}

}  // namespace bastion
