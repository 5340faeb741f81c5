#include "scan/cookies/CookieRecords.h"

#include <algorithm>
#include <vector>

#include "common/Lines.h"

namespace bastion {

namespace {

constexpr std::size_t kDomainLine = 2;
constexpr std::size_t kFirstNumberLine = 3;

bool IsNumber(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A host name holds no blanks or control characters; a line that does is
// not the domain line of a cookie.
bool IsHostText(std::string_view text) {
    return !text.empty() &&
           std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// The domain of one record (its lines before "*"), when the record has the
// layout: a "domain/path" line followed by the flags and time numbers.
std::optional<std::string> RecordDomain(const std::vector<std::string>& lines, std::size_t first,
                                        std::size_t end) {
    if (end - first <= kFirstNumberLine) return std::nullopt;
    for (std::size_t i = first + kFirstNumberLine; i < end; ++i) {
        if (!IsNumber(lines[i])) return std::nullopt;
    }
    const std::string& hostPath = lines[first + kDomainLine];
    const std::size_t slash = hostPath.find('/');
    if (slash == std::string::npos) return std::nullopt;
    std::string_view host = std::string_view(hostPath).substr(0, slash);
    while (!host.empty() && host.front() == '.') host.remove_prefix(1);
    if (!IsHostText(host)) return std::nullopt;
    return std::string(host);
}

}  // namespace

std::optional<std::string> CookieRecordDomain(std::string_view content) {
    const std::vector<std::string> lines = SplitLines(content);
    std::size_t first = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != "*") continue;
        if (std::optional<std::string> domain = RecordDomain(lines, first, i)) return domain;
        first = i + 1;
    }
    return std::nullopt;
}

}  // namespace bastion
