#include "common/Lines.h"

#include <cstdint>
#include <cstring>

namespace bastion {

std::size_t FindLineEnd(std::string_view text, std::size_t from) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighs = 0x8080808080808080ull;
    // A word holds a zero byte when (word - ones) & ~word has a high bit set.
    const auto holdsZero = [](std::uint64_t word) { return ((word - kOnes) & ~word & kHighs) != 0; };
    while (from + 8 <= text.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + from, sizeof word);
        if (holdsZero(word ^ (kOnes * '\n')) || holdsZero(word ^ (kOnes * '\r'))) break;
        from += 8;
    }
    while (from < text.size() && text[from] != '\n' && text[from] != '\r') ++from;
    return from;
}

std::vector<std::string> SplitLines(std::string_view content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t pos = 0;
    while (pos < content.size()) {
        const char c = content[pos];
        if (c != '\r' && c != '\n') {
            ++pos;
            continue;
        }
        lines.emplace_back(content.substr(start, pos - start));
        const bool crLf = c == '\r' && pos + 1 < content.size() && content[pos + 1] == '\n';
        pos += crLf ? 2 : 1;
        start = pos;
    }
    if (start < content.size()) lines.emplace_back(content.substr(start));
    return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) {
        out += line;
        out += kCrLf;
    }
    return out;
}

}  // namespace bastion
