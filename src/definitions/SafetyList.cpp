#include "definitions/SafetyList.h"

#include <array>

#include "common/Text.h"
#include "common/Utf.h"

namespace bastion {

namespace {

// Registry roots are never reported while the list holds anything: a
// definition must not take a whole hive away. Lower-cased, as candidates
// are compared.
constexpr std::array<std::string_view, 5> kRegistryRoots{
    "hkey_classes_root", "hkey_current_user", "hkey_local_machine", "hkey_users", "hkey_current_config",
};

// One trailing "/" and then one trailing "\" go, so that a folder written
// with or without its separator compares the same.
void RemoveTrailingSeparators(std::string& text) {
    if (EndsWith(text, "/")) text.pop_back();
    if (EndsWith(text, "\\")) text.pop_back();
}

// Every drive letter compares as drive c: a definition written for the
// system drive protects the same folder on any drive.
void NormalizeDrive(std::string& text) {
    if (!Contains(text, ":\\")) return;
    std::size_t end = 0;
    char32_t first = 0;
    NextCodePoint(text, end, first);
    text.erase(0, end);
    text.insert(text.begin(), 'c');
}

bool IsRegistryRoot(std::string_view normalized) {
    std::string_view bare = normalized;
    if (EndsWith(bare, "\\")) bare.remove_suffix(1);
    for (std::string_view root : kRegistryRoots) {
        if (bare == root) return true;
    }
    return false;
}

}  // namespace

void SafetyList::Assign(std::vector<std::string> entries) {
    entries_ = std::move(entries);
    normalized_.clear();
    normalized_.reserve(entries_.size());
    for (const std::string& entry : entries_) {
        std::string compared = Trim(ToLower(entry));
        if (compared.empty()) continue;
        RemoveTrailingSeparators(compared);
        if (compared.empty()) continue;
        normalized_.insert(std::move(compared));
    }
}

bool SafetyList::IsProtectedPath(std::string_view candidate) const {
    std::string cand = Trim(ToLower(candidate));
    NormalizeDrive(cand);
    if (cand.empty()) return true;
    RemoveTrailingSeparators(cand);
    if (cand.empty()) return true;

    if (normalized_.empty()) return false;
    // An entry protects the item itself, written with or without one
    // trailing backslash; never what lies inside it.
    if (normalized_.contains(cand)) return true;
    if (normalized_.contains(cand + "\\")) return true;
    if (EndsWith(cand, "\\") && normalized_.contains(cand.substr(0, cand.size() - 1))) return true;
    return IsRegistryRoot(cand);
}

}  // namespace bastion
