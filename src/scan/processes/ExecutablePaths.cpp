#include "scan/processes/ExecutablePaths.h"

#include <algorithm>

#include "common/PackedText.h"
#include "common/PathParts.h"
#include "common/Text.h"

namespace bastion {

namespace {

// A folder as a process path's folder reads after NormalizedProcessPath.
// The place comes with its doubled backslashes reduced, a network folder's
// opening pair kept.
std::string NormalizedFolder(std::string_view folder, std::string_view systemFolder) {
    std::string normal = NormalizedProcessPath(std::string(folder) + "\\", systemFolder);
    while (!normal.empty() && normal.back() == '\\') normal.pop_back();
    return normal;
}

}  // namespace

void ExecutablePathList::Add(const ExeRecord& record, const PathTokens& tokens, std::string_view systemFolder) {
    if (!record.valid) return;
    const std::string name = ToUpper(Trim(record.fileName));
    if (name.empty()) return;
    auto addPair = [&](std::string_view folder) {
        if (text_.size() > UINT32_MAX) return;
        pairs_.push_back(static_cast<std::uint32_t>(text_.size()));
        AppendPackedText(text_, name);
        AppendPackedText(text_, folder);
    };
    if (Trim(record.folder).empty()) {
        addPair({});
        return;
    }
    for (const std::string& place : tokens.PathPlaces(record.folder)) {
        const std::string folder = NormalizedFolder(place, systemFolder);
        // A folder that expands to nothing names no place on this machine.
        if (!folder.empty()) addPair(folder);
    }
}

void ExecutablePathList::Finish() {
    // Room reserved and not used is never touched: the list is left as it
    // grew, rather than copied once more into less.
    std::stable_sort(pairs_.begin(), pairs_.end(),
                     [this](std::uint32_t a, std::uint32_t b) { return PairAt(a).name < PairAt(b).name; });
}

void ExecutablePathList::Clear() {
    text_.clear();
    pairs_.clear();
}

ExecutablePathList::Pair ExecutablePathList::PairAt(std::uint32_t at) const {
    std::size_t from = at;
    Pair pair;
    pair.name = ReadPackedText(text_, from);
    pair.folder = ReadPackedText(text_, from);
    return pair;
}

bool ExecutablePathList::Matches(std::string_view upperPath, std::string_view upperFileName) const {
    if (upperFileName.empty()) return false;
    auto pair = std::lower_bound(pairs_.begin(), pairs_.end(), upperFileName,
                                 [this](std::uint32_t at, std::string_view name) { return PairAt(at).name < name; });
    const std::string folder = FolderOfPath(upperPath);
    for (; pair != pairs_.end() && PairAt(*pair).name == upperFileName; ++pair) {
        const std::string_view defined = PairAt(*pair).folder;
        if (defined.empty() || defined == folder) return true;
    }
    return false;
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
