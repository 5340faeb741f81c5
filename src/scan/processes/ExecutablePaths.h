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

namespace bastion {

class ExecutablePathList {
public:
    // Adds the definition: its file name and the places its folder names
    // here (tokens expanded, "[drive]" the drive root, doubled backslashes
    // reduced, the system32 forms made the system folder). A line without
    // "=" adds nothing.
    void Add(const ExeRecord& record, const PathTokens& tokens, std::string_view systemFolder);
    // Orders what was added for Matches: the list is then complete.
    void Finish();
    void Clear();
    bool Empty() const { return pairs_.empty(); }

    // True when a definition of this file name names the folder of the
    // path, or names no folder. Both upper-cased and normalised as
    // NormalizedProcessPath does.
    bool Matches(std::string_view upperPath, std::string_view upperFileName) const;

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

// A module path in the forms the system also reports
// ("\SystemRoot\System32\x.exe", "\??\C:\WINDOWS\system32\x.exe") turned into an ordinary one:
// everything up to and including the last "SYSTEM32\" (any case) becomes
// the system folder and a backslash. Other paths come back unchanged.
std::string NormalizeSystem32Path(std::string_view path, std::string_view systemFolder);

// A running program's path as the process scan compares it: trimmed,
// upper-cased, its system32 forms made ordinary.
std::string NormalizedProcessPath(std::string_view modulePath, std::string_view systemFolder);

}  // namespace bastion
