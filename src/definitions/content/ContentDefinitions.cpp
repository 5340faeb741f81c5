#include "definitions/content/ContentDefinitions.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>

#include "common/Text.h"

namespace bastion {

namespace {

constexpr char kTextEnd = '\n';
// Slots of the loader's set of kept texts; it takes texts while at most
// half of them are used.
constexpr std::size_t kTextSlots = 8192;
constexpr std::uint32_t kFree = UINT32_MAX;
// The bytes of a line that its record's text never holds: the size (one
// digit at least), ":", the hash and "=", less the two separators kept.
constexpr std::size_t kLeastKeptPerLine = 65;

// Gives back a container's room when most of it went unused: a copy of a
// nearly full one would for a moment hold it twice.
template <typename Container>
void ShrinkWhenMostlyUnused(Container& container) {
    if (container.size() < container.capacity() / 2) container.shrink_to_fit();
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::uint64_t> ParseSize(std::string_view text) {
    if (text.empty() || text.size() > 20) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<platform::Sha256Digest> ParseDigest(std::string_view hex) {
    platform::Sha256Digest digest{};
    if (hex.size() != digest.size() * 2) return std::nullopt;
    for (std::size_t i = 0; i < digest.size(); ++i) {
        const int high = HexValue(hex[2 * i]);
        const int low = HexValue(hex[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        digest[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return digest;
}

}  // namespace

std::optional<ContentLine> ParseContentDefinition(std::string_view line) {
    const std::size_t name = line.find('=');
    if (name == std::string_view::npos) return std::nullopt;
    const std::string_view key = TrimmedView(line.substr(0, name));
    const std::size_t colon = key.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::optional<std::uint64_t> size = ParseSize(TrimmedView(key.substr(0, colon)));
    const std::optional<platform::Sha256Digest> digest = ParseDigest(TrimmedView(key.substr(colon + 1)));
    if (!size || !digest) return std::nullopt;

    const std::string_view text = line.substr(name + 1);
    const std::size_t threatEnd = text.find_first_of("|=");
    ContentLine parsed;
    parsed.size = *size;
    parsed.sha256 = *digest;
    parsed.threat = TrimmedView(text.substr(0, threatEnd));
    if (threatEnd != std::string_view::npos && text[threatEnd] == '|') {
        const std::string_view type = text.substr(threatEnd + 1);
        parsed.type = TrimmedView(type.substr(0, type.find('|')));
    }
    // Kept as "threat|type" up to a line end: neither may hold one.
    if (parsed.threat.empty() || parsed.threat.find_first_of("\r\n") != std::string_view::npos ||
        parsed.type.find_first_of("\r\n") != std::string_view::npos) {
        return std::nullopt;
    }
    return parsed;
}

std::string Sha256Hex(const platform::Sha256Digest& digest) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(digest.size() * 2);
    for (std::uint8_t byte : digest) {
        hex.push_back(kDigits[byte >> 4]);
        hex.push_back(kDigits[byte & 0x0f]);
    }
    return hex;
}

void ContentTable::Reserve(std::size_t lines, std::size_t bytes) {
    records_.reserve(lines);
    // A line keeps at most its text after the key and "=" (at least 67
    // bytes before it) with two bytes more; room a shared name leaves
    // unused is never touched.
    if (bytes > lines * kLeastKeptPerLine) text_.reserve(bytes - lines * kLeastKeptPerLine);
    recentTexts_.assign(kTextSlots, kFree);
}

std::optional<std::uint32_t> ContentTable::TextOffset(std::string_view threat, std::string_view type) {
    const std::size_t length = threat.size() + 1 + type.size();
    auto holds = [&](std::uint32_t at) {
        return text_.size() - at > length && text_.compare(at, threat.size(), threat) == 0 &&
               text_[at + threat.size()] == '|' && text_.compare(at + threat.size() + 1, type.size(), type) == 0 &&
               text_[at + length] == kTextEnd;
    };
    if (recentTexts_.empty()) recentTexts_.assign(kTextSlots, kFree);
    const std::size_t hash = std::hash<std::string_view>{}(threat) * 31 + std::hash<std::string_view>{}(type);
    std::size_t slot = hash % kTextSlots;
    std::size_t used = 0;
    for (; recentTexts_[slot] != kFree; slot = (slot + 1) % kTextSlots, ++used) {
        if (holds(recentTexts_[slot])) return recentTexts_[slot];
        // A full set: further texts are kept each on their own.
        if (used == kTextSlots - 1) break;
    }
    if (text_.size() + length + 1 > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    const auto at = static_cast<std::uint32_t>(text_.size());
    text_.append(threat).append(1, '|').append(type).append(1, kTextEnd);
    if (recentTexts_[slot] == kFree && keptTexts_ < kTextSlots / 2) {
        recentTexts_[slot] = at;
        ++keptTexts_;
    }
    return at;
}

bool ContentTable::Add(const ContentLine& line) {
    const std::optional<std::uint32_t> text = TextOffset(line.threat, line.type);
    if (!text) return false;
    records_.push_back({static_cast<std::uint32_t>(line.size), static_cast<std::uint32_t>(line.size >> 32),
                        line.sha256, *text});
    smallest_ = std::min(smallest_, line.size);
    largest_ = std::max(largest_, line.size);
    return true;
}

void ContentTable::Finish() {
    // The text breaks ties, so that of two definitions with one key the
    // same one wins whatever order the lines came in.
    const std::string_view text = text_;
    auto textOf = [text](const Record& record) {
        const std::string_view from = text.substr(record.text);
        return from.substr(0, from.find(kTextEnd));
    };
    std::sort(records_.begin(), records_.end(), [&](const Record& a, const Record& b) {
        if (a.Size() != b.Size()) return a.Size() < b.Size();
        if (const int order = std::memcmp(a.sha256.data(), b.sha256.data(), a.sha256.size()); order != 0) {
            return order < 0;
        }
        return textOf(a) < textOf(b);
    });
    ShrinkWhenMostlyUnused(records_);
    ShrinkWhenMostlyUnused(text_);
    recentTexts_ = {};
    keptTexts_ = 0;
}

void ContentTable::Clear() {
    records_ = {};
    text_ = {};
    recentTexts_ = {};
    keptTexts_ = 0;
    smallest_ = UINT64_MAX;
    largest_ = 0;
}

std::vector<ContentTable::Record>::const_iterator ContentTable::FirstOfSize(std::uint64_t size) const {
    return std::lower_bound(records_.begin(), records_.end(), size,
                            [](const Record& record, std::uint64_t wanted) { return record.Size() < wanted; });
}

bool ContentTable::HasSize(std::uint64_t size) const {
    // Most files a walk meets are smaller (or larger) than every definition.
    if (size < smallest_ || size > largest_) return false;
    const auto first = FirstOfSize(size);
    return first != records_.end() && first->Size() == size;
}

std::optional<ContentTable::Match> ContentTable::Find(std::uint64_t size,
                                                      const platform::Sha256Digest& sha256) const {
    for (auto record = FirstOfSize(size); record != records_.end() && record->Size() == size; ++record) {
        const int order = std::memcmp(record->sha256.data(), sha256.data(), sha256.size());
        if (order > 0) break;
        if (order < 0) continue;
        const std::string_view text = std::string_view(text_).substr(record->text);
        const std::string_view entry = text.substr(0, text.find(kTextEnd));
        const std::size_t bar = entry.find('|');
        return Match{entry.substr(0, bar), entry.substr(bar + 1)};
    }
    return std::nullopt;
}

std::size_t ContentTable::Bytes() const {
    return records_.capacity() * sizeof(Record) + text_.capacity() + recentTexts_.capacity() * sizeof(std::uint32_t);
}

}  // namespace bastion
