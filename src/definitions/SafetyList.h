// The items that are never reported whatever a definition says, read from
// "Safety.dat" at the start of every scan; the registry roots are protected
// by rule while the list holds anything.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "definitions/KeyFilter.h"

namespace bastion {

class SafetyList {
public:
    // Replaces the list by these entries (as built from the file, in file
    // order).
    void Assign(std::vector<std::string> entries);
    const std::vector<std::string>& Entries() const { return entries_; }

    // True when the file path, folder path or registry location (hive name,
    // "\", key, and maybe "\" and value) is protected. The drive letter of a
    // path (of the candidate and of the entries alike) does not count, nor
    // do case and surrounding blanks; the empty path is always protected.
    bool IsProtectedPath(std::string_view candidate) const;
    // The same for a candidate already lower-cased by ToLower: the loader
    // lower-cases each definition once, for this test and for its row.
    bool IsProtectedLowerCasePath(std::string_view lowered) const;
    // False when no path that ends in this lower-cased, trimmed file name
    // (which may hold folders of its own) can be protected, whatever folder
    // it lies in: the loader then need not work out the folder of a file
    // definition at all. True is only "maybe".
    bool MayProtectFileName(std::string_view lowered) const;

private:
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    // How a compared text stands for entries: it is one, or it is one
    // without its last backslash (so a candidate equals that entry once "\"
    // is added to it).
    struct Forms {
        bool entry = false;
        bool entryLessBackslash = false;
    };

    // The compared text's forms, or nullptr.
    const Forms* Find(std::string_view compared) const;
    Forms& Insert(std::string_view compared);

    std::vector<std::string> entries_;
    // The entries as compared: lower-cased, trimmed, on drive c, one
    // trailing "/" and then one trailing "\" removed; empty ones left out. Looked up by
    // views into the candidate, so a test allocates nothing.
    std::unordered_map<std::string, Forms, TextHash, std::equal_to<>> normalized_;
    // The same texts by a hash of their length and last characters: almost
    // every candidate is no entry, and this tells so without hashing the
    // whole path.
    KeyFilter tails_;
    // The last part (after the last backslash) of every compared text and
    // of the registry roots.
    KeyFilter lastParts_;
};

}  // namespace bastion
