#include "scan/processes/ExecutablePaths.h"

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
}

bool ExecutablePathList::Matches(std::string_view upperPath, std::string_view upperFileName) const {
    if (text_.empty() || upperFileName.empty()) return false;
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
