#include "ContentImport.h"

#include <set>

#include "common/Lines.h"
#include "common/Text.h"

namespace defserver {

namespace {

bool IsHexDigest(std::string_view text) {
    if (text.size() != 64) return false;
    for (char c : text) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex) return false;
    }
    return true;
}

// The SHA-256 of no bytes at all: public hash lists carry it.
constexpr std::string_view kEmptyContentSha256 = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

bool IsSize(std::string_view text) {
    if (text.empty() || text.size() > 19) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// What a definition's name or type may not hold: the record's own
// separators, line ends and what the change log cannot send.
std::string BadTextReason(std::string_view text) {
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '|' || c == '=') return "a name cannot hold \"|\" or \"=\"";
        if (u < 32 || c == '<') return "a name cannot hold the character of code " + std::to_string(u);
    }
    return {};
}

}  // namespace

ContentImport ImportContentList(const std::string& list, const std::string& type, const std::string& date) {
    ContentImport import;
    import.set = "# Content definitions imported from a hash list, type " + type + ".\r\nDATE " + date + "\r\n";
    if (const std::string reason = BadTextReason(type); !reason.empty() || bastion::Trim(type).empty()) {
        import.problems.push_back("the type: " + (reason.empty() ? std::string("empty") : reason));
        return import;
    }
    std::set<std::string> keys;
    std::size_t number = 0;
    for (const std::string& raw : bastion::SplitLines(list)) {
        ++number;
        const std::string_view line = bastion::TrimmedView(raw);
        if (line.empty() || line.front() == '#') continue;
        auto problem = [&](const std::string& reason) {
            import.problems.push_back("line " + std::to_string(number) + ": " + reason);
        };
        const std::size_t first = line.find(':');
        const std::size_t second = first == std::string_view::npos ? first : line.find(':', first + 1);
        if (second == std::string_view::npos) {
            problem("not sha256:size:name");
            continue;
        }
        const std::string_view digest = bastion::TrimmedView(line.substr(0, first));
        const std::string_view size = bastion::TrimmedView(line.substr(first + 1, second - first - 1));
        const std::string_view name = bastion::TrimmedView(line.substr(second + 1));
        if (!IsHexDigest(digest)) {
            problem("the SHA-256 is not 64 hex digits");
            continue;
        }
        if (!IsSize(size)) {
            problem("the size is not a number of bytes");
            continue;
        }
        if (name.empty()) {
            problem("no threat name");
            continue;
        }
        // Every empty file on the users' disks would be a threat.
        if (std::stoull(std::string(size)) == 0 || bastion::EqualsIgnoreCase(digest, kEmptyContentSha256)) {
            problem("the empty file (size 0 or the empty content's SHA-256) is no threat");
            continue;
        }
        if (const std::string reason = BadTextReason(name); !reason.empty()) {
            problem(reason);
            continue;
        }
        // Leading zeros would make a second key for one size.
        const std::string key = std::to_string(std::stoull(std::string(size))) + ":" + bastion::ToLower(digest);
        if (!keys.insert(key).second) continue;
        import.set += "ADD CONTENT " + key + "=" + std::string(name) + "|" + type + "\r\n";
        ++import.added;
    }
    return import;
}

}  // namespace defserver
