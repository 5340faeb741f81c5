// The items the user declared harmless, kept in "ENoSignature.dat" (plain
// text in the system code page, one item per line). Scans still find them
// but show them as "EXCLUDED" rows.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace bastion {

class ExclusionList {
public:
    // Rebuilds the exclusion text from the file's lines (the non-empty ones,
    // each followed by "|").
    void Assign(const std::vector<std::string>& lines);
    void Clear();
    // Appends one line of the file; a line that is empty after trimming
    // adds nothing.
    void Add(std::string_view line);
    // "a|b|c|" for three entries.
    const std::string& Text() const { return text_; }
    bool Empty() const { return text_.empty(); }

    // Exact comparison ignoring case (the candidate also trimmed). The empty
    // candidate is excluded as soon as the list holds any entry.
    bool IsExcluded(std::string_view candidate) const;
    // As IsExcluded, or when any entry contains the folder path (ignoring
    // case): a folder holding an excluded file is excluded too.
    bool IsExcludedFolder(std::string_view folder) const;

private:
    std::string text_;
    // The non-empty pieces of the text, upper-cased, for the substring rule.
    std::vector<std::string> upperEntries_;
    // Every piece upper-cased, the empty last one included.
    std::unordered_set<std::string> upperSet_;
};

}  // namespace bastion
