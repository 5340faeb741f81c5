#include "definitions/SafetyList.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "common/PathParts.h"
#include "common/Text.h"

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
std::string_view WithoutTrailingSeparators(std::string_view text) {
    if (text.ends_with('/')) text.remove_suffix(1);
    if (text.ends_with('\\')) text.remove_suffix(1);
    return text;
}

// A path on any drive compares as the same path on drive c, entries and
// candidates alike: the safety list names places on the system drive, and
// the same folder on another drive (or a system installed on D:) is as
// safe. Only a text that begins with a drive is a path; a registry location
// may hold ":\" anywhere.
void OnDriveC(std::string& lowered) {
    if (IsDrivePath(lowered)) lowered[0] = 'c';
}

// The length and the last eight bytes, mixed: cheap to take, and telling
// apart most paths that are not the same.
std::uint64_t TailHash(std::string_view text) {
    std::uint64_t tail = 0;
    const std::size_t taken = text.size() < sizeof tail ? text.size() : sizeof tail;
    std::memcpy(&tail, text.data() + text.size() - taken, taken);
    std::uint64_t hash = tail ^ (text.size() * 0x9E3779B97F4A7C15ull);
    hash = (hash ^ (hash >> 33)) * 0xFF51AFD7ED558CCDull;
    hash = (hash ^ (hash >> 33)) * 0xC4CEB9FE1A85EC53ull;
    return hash ^ (hash >> 33);
}

// What follows the last backslash; the whole text when it has none.
std::string_view LastPart(std::string_view text) {
    const std::size_t backslash = text.rfind('\\');
    return backslash == std::string_view::npos ? text : text.substr(backslash + 1);
}

std::uint64_t PartHash(std::string_view part) { return std::hash<std::string_view>{}(part); }

bool IsRegistryRoot(std::string_view normalized) {
    std::string_view bare = normalized;
    if (EndsWith(bare, "\\")) bare.remove_suffix(1);
    for (std::string_view root : kRegistryRoots) {
        if (bare == root) return true;
    }
    return false;
}

}  // namespace

const SafetyList::Forms* SafetyList::Find(std::string_view compared) const {
    if (!tails_.MayContain(TailHash(compared))) return nullptr;
    const auto found = normalized_.find(compared);
    return found == normalized_.end() ? nullptr : &found->second;
}

SafetyList::Forms& SafetyList::Insert(std::string_view compared) {
    tails_.Add(TailHash(compared));
    lastParts_.Add(PartHash(LastPart(compared)));
    return normalized_[std::string(compared)];
}

void SafetyList::Assign(std::vector<std::string> entries) {
    entries_ = std::move(entries);
    normalized_.clear();
    normalized_.reserve(entries_.size() * 2);
    tails_.Clear();
    lastParts_.Clear();
    for (std::string_view root : kRegistryRoots) lastParts_.Add(PartHash(root));
    for (const std::string& entry : entries_) {
        std::string lowered(TrimmedView(ToLower(entry)));
        OnDriveC(lowered);
        const std::string_view compared = WithoutTrailingSeparators(lowered);
        if (compared.empty()) continue;
        Insert(compared).entry = true;
        if (compared.ends_with('\\')) {
            Insert(compared.substr(0, compared.size() - 1)).entryLessBackslash = true;
        }
    }
}

bool SafetyList::IsProtectedPath(std::string_view candidate) const {
    return IsProtectedLowerCasePath(ToLower(candidate));
}

bool SafetyList::IsProtectedLowerCasePath(std::string_view lowered) const {
    std::string_view cand = TrimmedView(lowered);
    // Definitions expand to drive c, so the copy is rarely needed.
    std::string onDriveC;
    if (IsDrivePath(cand) && cand.front() != 'c') {
        onDriveC = cand;
        OnDriveC(onDriveC);
        cand = onDriveC;
    }
    if (cand.empty()) return true;
    cand = WithoutTrailingSeparators(cand);
    if (cand.empty()) return true;

    if (normalized_.empty()) return false;
    // An entry protects the item itself, written with or without one
    // trailing backslash; never what lies inside it.
    if (Find(cand)) return true;
    if (cand.ends_with('\\')) {
        const Forms* less = Find(cand.substr(0, cand.size() - 1));
        if (less && less->entry) return true;
    }
    return IsRegistryRoot(cand);
}

bool SafetyList::MayProtectFileName(std::string_view lowered) const {
    if (normalized_.empty()) return false;
    // A candidate is compared without its trailing separators, and its
    // drive letter as c: a name that keeps a separator at its end, or that
    // may be the whole path, is left to the full test.
    const std::string_view name = WithoutTrailingSeparators(lowered);
    if (name.empty() || name.ends_with('\\') || name.ends_with('/')) return true;
    if (name.find('\\') == std::string_view::npos && name.find(':') != std::string_view::npos) return true;
    return lastParts_.MayContain(PartHash(LastPart(name)));
}

}  // namespace bastion
