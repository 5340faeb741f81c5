// Stand-in for the safety and exclusion lists while their own implementation
// is on its way to main: enough of their rules for the scans' tests. Each
// half steps aside by itself once src/definitions/SafetyList.cpp or
// ExclusionList.cpp is there; the file goes when both are.
#include "common/Text.h"
#include "definitions/ExclusionList.h"
#include "definitions/SafetyList.h"

namespace bastion {

#if !__has_include("definitions/SafetyList.cpp")

namespace {

std::string Normalized(std::string_view text) {
    std::string out = Trim(ToLower(text));
    if (!out.empty() && out.back() == '/') out.pop_back();
    if (!out.empty() && out.back() == '\\') out.pop_back();
    return out;
}

}  // namespace

void SafetyList::Assign(std::vector<std::string> entries) {
    entries_ = std::move(entries);
    normalized_.clear();
    for (const std::string& entry : entries_) {
        std::string n = Normalized(entry);
        if (!n.empty()) normalized_.insert(std::move(n));
    }
}

bool SafetyList::IsProtectedPath(std::string_view candidate) const {
    std::string c = Trim(ToLower(candidate));
    if (Contains(c, ":\\")) c[0] = 'c';
    if (c.empty()) return true;
    if (c.back() == '/') c.pop_back();
    if (!c.empty() && c.back() == '\\') c.pop_back();
    if (c.empty()) return true;
    if (normalized_.empty()) return false;
    if (normalized_.contains(c) || normalized_.contains(c + "\\")) return true;
    if (c.back() == '\\' && normalized_.contains(c.substr(0, c.size() - 1))) return true;
    const std::string upper = ToUpper(c);
    for (const char* root : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                             "HKEY_CURRENT_CONFIG"}) {
        if (upper == root) return true;
    }
    return false;
}

#endif

#if !__has_include("definitions/ExclusionList.cpp")

void ExclusionList::Assign(const std::vector<std::string>& lines) {
    text_.clear();
    upperEntries_.clear();
    upperSet_.clear();
    for (const std::string& line : lines) {
        if (Trim(line).empty()) continue;
        text_ += line + "|";
        upperEntries_.push_back(ToUpper(line));
        upperSet_.insert(upperEntries_.back());
    }
    if (!text_.empty()) upperSet_.insert("");
}

bool ExclusionList::IsExcluded(std::string_view candidate) const {
    return upperSet_.contains(ToUpper(candidate)) || upperSet_.contains(ToUpper(Trim(candidate)));
}

bool ExclusionList::IsExcludedFolder(std::string_view folder) const {
    if (IsExcluded(folder)) return true;
    const std::string upper = ToUpper(folder);
    for (const std::string& entry : upperEntries_) {
        if (Contains(entry, upper)) return true;
    }
    return false;
}

#endif

}  // namespace bastion
