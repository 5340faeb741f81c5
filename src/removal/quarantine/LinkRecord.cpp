#include "removal/quarantine/LinkRecord.h"

#include <vector>

#include "common/Lines.h"

namespace bastion {

namespace {

constexpr std::string_view kJunction = "junction";
constexpr std::string_view kSymbolicLink = "symbolic link";

}  // namespace

std::string FormatLinkRecord(const platform::FolderLink& link) {
    std::string text(link.kind == platform::FolderLinkKind::Junction ? kJunction : kSymbolicLink);
    text += kCrLf;
    text += link.target;
    text += kCrLf;
    return text;
}

std::optional<platform::FolderLink> ParseLinkRecord(std::string_view bytes) {
    std::vector<std::string> lines = SplitLines(bytes);
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    if (lines.size() != 2 || lines[1].empty()) return std::nullopt;
    for (char c : lines[1]) {
        if (static_cast<unsigned char>(c) < 32) return std::nullopt;
    }
    platform::FolderLink link;
    if (lines[0] == kJunction) {
        link.kind = platform::FolderLinkKind::Junction;
    } else if (lines[0] == kSymbolicLink) {
        link.kind = platform::FolderLinkKind::SymbolicLink;
    } else {
        return std::nullopt;
    }
    link.target = lines[1];
    return link;
}

}  // namespace bastion
