// The executable definitions as the process scan compares them with running
// programs: each definition's file name with the folders it names. A
// definition that names a folder matches a program of that name running
// from that folder, or from the folder's 32-bit twin on 64-bit Windows; one
// with an empty folder matches that name in any folder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/DefinitionRecords.h"
#include "definitions/PathTokens.h"
#include "platform/FileSystem.h"

namespace bastion {

class ExecutablePathList {
public:
    // Adds the definition: its file name and the places its folder names
    // here (tokens expanded, "[drive]" the drive root, doubled backslashes
    // reduced). A line without "=" adds nothing.
    void Add(const ExeRecord& record, const PathTokens& tokens);
    // Orders what was added for Matches: the list is then complete.
    void Finish();
    void Clear();
    bool Empty() const { return pairs_.empty(); }

    // True when a definition of this file name names the folder of the
    // path, or names no folder. The path as ComparableProgramPath gives it,
    // the name upper-cased; a definition's folder is compared by its final
    // path too (only for the names that match, which are few).
    bool Matches(platform::FileSystem& files, std::string_view comparablePath, std::string_view upperFileName) const;

private:
    struct Pair {
        std::string_view name;
        std::string_view folder;
    };
    Pair PairAt(std::uint32_t at) const;

    // Each upper-cased file name with one upper-cased folder its definition
    // names, without a trailing backslash ("" stands for any folder), packed
    // one pair after the other into one text: the memory shield keeps the
    // list while the program runs, and a hundred thousand definitions would
    // otherwise hold several strings each.
    std::string text_;
    // Where each pair begins, in the order of the names once finished.
    std::vector<std::uint32_t> pairs_;
};

// A running program's image path as the process scan compares it: the
// system's own spellings made ordinary ("\??\C:\x.exe" is "C:\x.exe",
// "\SystemRoot\System32\x.exe" lies in the Windows folder, the folder
// above the system folder), then its long final path (short names expanded,
// "." and ".." taken out, links followed), trimmed and upper-cased. No
// other folder stands for the system folder, whatever it is called: a
// "system32" folder among the user's files is a folder of the user's.
std::string ComparableProgramPath(platform::FileSystem& files, std::string_view imagePath,
                                  std::string_view systemFolder);

}  // namespace bastion
