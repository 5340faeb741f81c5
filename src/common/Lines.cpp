#include "common/Lines.h"

namespace bastion {

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
