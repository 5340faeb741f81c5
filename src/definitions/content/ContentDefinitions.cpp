#include "definitions/content/ContentDefinitions.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <tuple>

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
// The SHA-256 of no bytes at all.
constexpr platform::Sha256Digest kEmptyContentSha256{
    0xe3, 0xb0, 0xc4, 0x42, 0x98, 0xfc, 0x1c, 0x14, 0x9a, 0xfb, 0xf4, 0xc8, 0x99, 0x6f, 0xb9, 0x24,
    0x27, 0xae, 0x41, 0xe4, 0x64, 0x9b, 0x93, 0x4c, 0xa4, 0x95, 0x99, 0x1b, 0x78, 0x52, 0xb8, 0x55};

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
    if (!size || !digest || *size == 0 || *digest == kEmptyContentSha256) return std::nullopt;

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

std::uint8_t ContentTable::TypeNumber(std::string_view type) {
    auto isType = [&](std::uint8_t number) {
        const std::uint32_t at = types_[number];
        return text_.size() - at > type.size() && text_.compare(at, type.size(), type) == 0 &&
               text_[at + type.size()] == kTextEnd;
    };
    // Lines of one type mostly come together.
    if (lastType_ < types_.size() && isType(lastType_)) return lastType_;
    for (std::size_t number = 0; number < types_.size(); ++number) {
        if (isType(static_cast<std::uint8_t>(number))) return lastType_ = static_cast<std::uint8_t>(number);
    }
    if (types_.size() == kTypeInEntry) return kTypeInEntry;
    types_.push_back(static_cast<std::uint32_t>(text_.size()));
    text_.append(type).append(1, kTextEnd);
    return lastType_ = static_cast<std::uint8_t>(types_.size() - 1);
}

std::optional<std::uint32_t> ContentTable::EntryOffset(std::string_view threat, std::string_view type) {
    // Room for a new type's text and the entry.
    if (text_.size() + 2 * (threat.size() + type.size() + 2) > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    const std::uint8_t number = TypeNumber(type);
    const bool typeInEntry = number == kTypeInEntry;
    const std::size_t length = 1 + threat.size() + (typeInEntry ? 1 + type.size() : 0);
    auto holds = [&](std::uint32_t at) {
        if (text_.size() - at <= length || static_cast<std::uint8_t>(text_[at]) != number ||
            text_.compare(at + 1, threat.size(), threat) != 0 || text_[at + length] != kTextEnd) {
            return false;
        }
        return !typeInEntry || (text_[at + 1 + threat.size()] == '|' &&
                                text_.compare(at + 2 + threat.size(), type.size(), type) == 0);
    };
    if (recentTexts_.empty()) recentTexts_.assign(kTextSlots, kFree);
    const std::size_t hash = std::hash<std::string_view>{}(threat) * 31 + std::hash<std::string_view>{}(type);
    std::size_t slot = hash % kTextSlots;
    std::size_t used = 0;
    for (; recentTexts_[slot] != kFree; slot = (slot + 1) % kTextSlots, ++used) {
        if (holds(recentTexts_[slot])) return recentTexts_[slot];
        // A full set: further entries are kept each on their own.
        if (used == kTextSlots - 1) break;
    }
    const auto at = static_cast<std::uint32_t>(text_.size());
    text_.append(1, static_cast<char>(number)).append(threat);
    if (typeInEntry) text_.append(1, '|').append(type);
    text_.append(1, kTextEnd);
    if (recentTexts_[slot] == kFree && keptTexts_ < kTextSlots / 2) {
        recentTexts_[slot] = at;
        ++keptTexts_;
    }
    return at;
}

ContentTable::Match ContentTable::EntryAt(std::uint32_t at) const {
    const std::string_view text = text_;
    const std::uint8_t number = static_cast<std::uint8_t>(text[at]);
    const std::string_view from = text.substr(at + 1);
    const std::string_view entry = from.substr(0, from.find(kTextEnd));
    if (number == kTypeInEntry) {
        const std::size_t bar = entry.find('|');
        return {entry.substr(0, bar), entry.substr(bar + 1)};
    }
    const std::string_view type = text.substr(types_[number]);
    return {entry, type.substr(0, type.find(kTextEnd))};
}

bool ContentTable::Add(const ContentLine& line) {
    const std::optional<std::uint32_t> text = EntryOffset(line.threat, line.type);
    if (!text) return false;
    if (line.size <= std::numeric_limits<std::uint32_t>::max()) {
        records_.push_back({static_cast<std::uint32_t>(line.size), line.sha256, *text});
    } else {
        largeRecords_.push_back({line.size, line.sha256, *text});
    }
    smallest_ = std::min(smallest_, line.size);
    largest_ = std::max(largest_, line.size);
    return true;
}

template <typename Records>
void ContentTable::SortRecords(Records& records) const {
    // The threat breaks ties, so that of two definitions with one key the
    // same one wins whatever order the lines came in.
    std::sort(records.begin(), records.end(), [&](const auto& a, const auto& b) {
        if (a.size != b.size) return a.size < b.size;
        if (const int order = std::memcmp(a.sha256.data(), b.sha256.data(), a.sha256.size()); order != 0) {
            return order < 0;
        }
        const Match first = EntryAt(a.text);
        const Match second = EntryAt(b.text);
        return std::tie(first.threat, first.type) < std::tie(second.threat, second.type);
    });
    ShrinkWhenMostlyUnused(records);
}

void ContentTable::Finish() {
    SortRecords(records_);
    SortRecords(largeRecords_);
    ShrinkWhenMostlyUnused(text_);
    recentTexts_ = {};
    keptTexts_ = 0;
}

void ContentTable::Clear() {
    records_ = {};
    largeRecords_ = {};
    text_ = {};
    types_ = {};
    lastType_ = 0;
    recentTexts_ = {};
    keptTexts_ = 0;
    smallest_ = UINT64_MAX;
    largest_ = 0;
    rejected_ = 0;
}

template <typename Records>
bool ContentTable::HasSizeIn(const Records& records, std::uint64_t size) {
    const auto first = std::lower_bound(records.begin(), records.end(), size,
                                        [](const auto& record, std::uint64_t wanted) { return record.size < wanted; });
    return first != records.end() && first->size == size;
}

bool ContentTable::HasSize(std::uint64_t size) const {
    // Most files a walk meets are smaller (or larger) than every definition.
    if (size < smallest_ || size > largest_) return false;
    return size <= std::numeric_limits<std::uint32_t>::max() ? HasSizeIn(records_, size)
                                                               : HasSizeIn(largeRecords_, size);
}

template <typename Records>
std::optional<ContentTable::Match> ContentTable::FindIn(const Records& records, std::uint64_t size,
                                                        const platform::Sha256Digest& sha256) const {
    auto record = std::lower_bound(records.begin(), records.end(), size,
                                   [](const auto& candidate, std::uint64_t wanted) { return candidate.size < wanted; });
    for (; record != records.end() && record->size == size; ++record) {
        const int order = std::memcmp(record->sha256.data(), sha256.data(), sha256.size());
        if (order > 0) break;
        if (order == 0) return EntryAt(record->text);
    }
    return std::nullopt;
}

std::optional<ContentTable::Match> ContentTable::Find(std::uint64_t size,
                                                      const platform::Sha256Digest& sha256) const {
    return size <= std::numeric_limits<std::uint32_t>::max() ? FindIn(records_, size, sha256)
                                                               : FindIn(largeRecords_, size, sha256);
}

std::size_t ContentTable::Size() const { return records_.size() + largeRecords_.size(); }

std::size_t ContentTable::Bytes() const {
    return records_.capacity() * sizeof(Record) + largeRecords_.capacity() * sizeof(LargeRecord) + text_.capacity() +
           types_.capacity() * sizeof(std::uint32_t) + recentTexts_.capacity() * sizeof(std::uint32_t);
}

}  // namespace bastion
