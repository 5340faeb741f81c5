#include "common/Lines.h"

#include <cstdint>

#include "common/Text.h"

namespace bastion {

std::size_t FindLineEnd(std::string_view text, std::size_t from) {
    for (; from + 8 <= text.size(); from += 8) {
        // The lower of the two first marks is the first line end.
        const std::uint64_t word = WordAt(text, from);
        if (const std::uint64_t ends = BytesEqualTo(word, '\n') | BytesEqualTo(word, '\r'); ends != 0) {
            return from + FirstMarkedByte(ends);
        }
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
