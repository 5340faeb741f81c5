#include "definitions/ExclusionList.h"

#include "common/Text.h"

namespace bastion {

void ExclusionList::Clear() {
    text_.clear();
    upperEntries_.clear();
    upperSet_.clear();
}

void ExclusionList::Add(std::string_view line) {
    if (Trim(line).empty()) return;
    text_.append(line).append("|");
    // A line holding "|" stands for several entries, as the text splits.
    for (std::string& piece : Split(line, "|")) {
        std::string upper = ToUpper(piece);
        if (upperSet_.insert(upper).second && !upper.empty()) {
            upperEntries_.push_back(std::move(upper));
        }
    }
    // The text always ends with an empty piece, which the empty candidate
    // equals.
    upperSet_.insert(std::string());
}

void ExclusionList::Assign(const std::vector<std::string>& lines) {
    Clear();
    for (const std::string& line : lines) {
        Add(line);
    }
}

bool ExclusionList::IsExcluded(std::string_view candidate) const {
    if (upperSet_.empty()) return false;
    std::string upper = ToUpper(candidate);
    return upperSet_.contains(upper) || upperSet_.contains(Trim(upper));
}

bool ExclusionList::IsExcludedFolder(std::string_view folder) const {
    if (IsExcluded(folder)) return true;
    if (folder.empty()) return false;
    std::string upper = ToUpper(folder);
    for (const std::string& entry : upperEntries_) {
        if (Contains(entry, upper)) return true;
    }
    return false;
}

}  // namespace bastion
