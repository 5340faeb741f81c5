// The items that are never reported whatever a definition says, read from
// "Safety.dat" at the start of every scan; the registry roots are protected
// by rule while the list holds anything.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace bastion {

class SafetyList {
public:
    // Replaces the list by these entries (as built from the file, in file
    // order).
    void Assign(std::vector<std::string> entries);
    const std::vector<std::string>& Entries() const { return entries_; }

    // True when the file path, folder path or registry location (hive name,
    // "\", key, and maybe "\" and value) is protected. Drive letters of the
    // candidate compare as drive c; case and surrounding blanks do not count;
    // the empty path is always protected.
    bool IsProtectedPath(std::string_view candidate) const;

private:
    std::vector<std::string> entries_;
    // The entries as compared: lower-cased, trimmed, one trailing "/" and
    // then one trailing "\" removed; empty ones left out.
    std::unordered_set<std::string> normalized_;
};

}  // namespace bastion
