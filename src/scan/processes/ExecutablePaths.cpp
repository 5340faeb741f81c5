#include "scan/processes/ExecutablePaths.h"

#include <algorithm>

#include "common/PackedText.h"
#include "common/PathParts.h"
#include "common/Text.h"

namespace bastion {

namespace {

// A definition's folder as it is kept: upper-cased, without a trailing
// backslash.
std::string KeptFolder(std::string_view folder) {
    std::string kept = ToUpper(Trim(folder));
    while (!kept.empty() && kept.back() == '\\') kept.pop_back();
    return kept;
}

std::string ComparableFolder(platform::FileSystem& files, std::string_view folder) {
    return KeptFolder(files.FinalPath(std::string(folder)));
}

}  // namespace

void ExecutablePathList::Add(const ExeRecord& record, const PathTokens& tokens) {
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
        const std::string folder = KeptFolder(place);
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

bool ExecutablePathList::Matches(platform::FileSystem& files, std::string_view comparablePath,
                                 std::string_view upperFileName) const {
    if (upperFileName.empty()) return false;
    auto pair = std::lower_bound(pairs_.begin(), pairs_.end(), upperFileName,
                                 [this](std::uint32_t at, std::string_view name) { return PairAt(at).name < name; });
    const std::string folder = FolderOfPath(comparablePath);
    for (; pair != pairs_.end() && PairAt(*pair).name == upperFileName; ++pair) {
        const std::string_view defined = PairAt(*pair).folder;
        if (defined.empty() || defined == folder || ComparableFolder(files, defined) == folder) return true;
    }
    return false;
}

std::string ComparableProgramPath(platform::FileSystem& files, std::string_view imagePath,
                                  std::string_view systemFolder) {
    constexpr std::string_view kObjectPrefixes[] = {"\\??\\", "\\\\?\\"};
    constexpr std::string_view kSystemRoot = "\\SYSTEMROOT\\";
    std::string path = Trim(imagePath);
    for (std::string_view prefix : kObjectPrefixes) {
        if (StartsWith(path, prefix) && IsDrivePath(std::string_view(path).substr(prefix.size()))) {
            path.erase(0, prefix.size());
        }
    }
    if (StartsWithIgnoreCase(path, kSystemRoot)) {
        path = FolderOfPath(systemFolder) + path.substr(kSystemRoot.size() - 1);
    }
    return ToUpper(Trim(files.FinalPath(path)));
}

}  // namespace bastion
