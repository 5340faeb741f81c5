#include "scan/processes/ExecutablePaths.h"

#include <algorithm>

#include "common/Text.h"

namespace bastion {

void ExecutablePathList::Add(const ExeRecord& record, const PathTokens& tokens) {
    if (!record.valid) return;
    if (text_.empty()) text_.push_back('|');
    std::string entry = tokens.Expand(record.folder);
    entry.append("\\").append(record.fileName);
    text_ += CollapseBackslashes(entry);
    text_ += '|';
}

void ExecutablePathList::Finish() {
    text_ = ToUpper(text_);
    // The memory shield keeps the list while the program runs.
    text_.shrink_to_fit();
    pieces_.clear();
    names_.clear();
    if (text_.size() > UINT32_MAX) return;
    for (std::size_t at = 1; at < text_.size(); at = text_.find('|', at) + 1) {
        const std::string_view piece = PieceAt(static_cast<std::uint32_t>(at));
        pieces_.push_back(static_cast<std::uint32_t>(at));
        if (const std::size_t slash = piece.rfind('\\'); slash != std::string_view::npos) {
            names_.push_back(static_cast<std::uint32_t>(at + slash + 1));
        }
    }
    for (std::vector<std::uint32_t>* sorted : {&pieces_, &names_}) {
        std::sort(sorted->begin(), sorted->end(),
                  [this](std::uint32_t a, std::uint32_t b) { return PieceAt(a) < PieceAt(b); });
        sorted->shrink_to_fit();
    }
}

std::string_view ExecutablePathList::PieceAt(std::uint32_t at) const {
    const std::size_t end = text_.find('|', at);
    return std::string_view(text_).substr(at, end - at);
}

bool ExecutablePathList::Matches(std::string_view upperPath, std::string_view upperFileName) const {
    if (text_.empty() || upperFileName.empty()) return false;
    // The text holds "|" + path + "|" exactly when the path is a whole
    // piece, and "\" + name + "|" when the name is a piece's part after its
    // last "\", as long as neither holds a separator itself.
    const auto isNoted = [this](const std::vector<std::uint32_t>& sorted, std::string_view text) {
        const auto found = std::lower_bound(sorted.begin(), sorted.end(), text,
                                            [this](std::uint32_t at, std::string_view t) { return PieceAt(at) < t; });
        return found != sorted.end() && PieceAt(*found) == text;
    };
    const bool noted = !pieces_.empty() && upperPath.find('|') == std::string_view::npos &&
                       upperFileName.find_first_of("|\\") == std::string_view::npos;
    if (noted) return isNoted(pieces_, upperPath) || isNoted(names_, upperFileName);
    std::string entry = "|";
    entry.append(upperPath).append("|");
    if (Contains(text_, entry)) return true;
    // Entries are separated by "|": a "\" + name followed by one ends an
    // entry, wherever in the list it stands.
    std::string ending = "\\";
    ending.append(upperFileName).append("|");
    return Contains(text_, ending);
}

std::string NormalizeSystem32Path(std::string_view path, std::string_view systemFolder) {
    constexpr std::string_view kSystem32 = "SYSTEM32\\";
    const std::string trimmed = Trim(path);
    // Upper-casing keeps every character's length, so a position in the
    // upper-cased text is one in the trimmed path too.
    const std::size_t at = ToUpper(trimmed).rfind(kSystem32);
    if (at == std::string::npos) return std::string(path);
    std::string normal(systemFolder);
    normal += '\\';
    normal.append(trimmed, at + kSystem32.size());
    return normal;
}

std::string NormalizedProcessPath(std::string_view modulePath, std::string_view systemFolder) {
    return ToUpper(NormalizeSystem32Path(ToUpper(Trim(modulePath)), systemFolder));
}

}  // namespace bastion
